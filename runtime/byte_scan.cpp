#include "runtime/byte_scan.h"

#include <cpuid.h>
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "runtime/text_match.h"

namespace {

bool HasSse2() {
  unsigned eax, ebx, ecx, edx;
  return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (edx & bit_SSE2);
}

// Aligned 16-byte loads never cross into an unmapped page, so the scan may
// read a few bytes before the text and after its terminator.
__attribute__((target("sse2"))) size_t Sse2Length(const char* text) {
  auto address = reinterpret_cast<uintptr_t>(text);
  auto* block = reinterpret_cast<const __m128i*>(address & ~uintptr_t{15});
  const __m128i zero = _mm_setzero_si128();
  unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_load_si128(block), zero)));
  mask >>= address & 15;
  if (mask) return static_cast<size_t>(__builtin_ctz(mask));
  for (;;) {
    mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_load_si128(++block), zero)));
    if (mask) return static_cast<size_t>(reinterpret_cast<const char*>(block) + __builtin_ctz(mask) - text);
  }
}

size_t BytewiseCandidate(const char* text, size_t from, size_t end, unsigned char first, unsigned char last,
                         size_t distance, bool fold) {
  auto image = [fold](char c) { return fold ? FoldCase(c) : static_cast<unsigned char>(c); };
  for (size_t at = from; at < end; ++at) {
    if (image(text[at]) == first && image(text[at + distance]) == last) return at;
  }
  return end;
}

// Capitals or-ed with 0x20: bytes 'A'..'Z' are those below -128 + 26 once
// shifted so that 'A' lands on -128.
__attribute__((target("sse2"))) __m128i FoldBlock(__m128i bytes) {
  __m128i shifted = _mm_add_epi8(bytes, _mm_set1_epi8(static_cast<char>(0x80 - 'A')));
  __m128i capitals = _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(-128 + 26)));
  return _mm_or_si128(bytes, _mm_and_si128(capitals, _mm_set1_epi8(0x20)));
}

__attribute__((target("sse2"))) size_t Sse2Candidate(const char* text, size_t from, size_t end,
                                                     unsigned char first, unsigned char last, size_t distance,
                                                     bool fold) {
  const __m128i firsts = _mm_set1_epi8(static_cast<char>(first));
  const __m128i lasts = _mm_set1_epi8(static_cast<char>(last));
  size_t at = from;
  for (; at < end && end - at >= 16; at += 16) {
    __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
    __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + distance));
    if (fold) {
      heads = FoldBlock(heads);
      tails = FoldBlock(tails);
    }
    __m128i both = _mm_and_si128(_mm_cmpeq_epi8(heads, firsts), _mm_cmpeq_epi8(tails, lasts));
    if (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(both))) return at + __builtin_ctz(mask);
  }
  return BytewiseCandidate(text, at, end, first, last, distance, fold);
}

}  // namespace

size_t WordwiseLength(const char* text) {
  const char* at = text;
  while (reinterpret_cast<uintptr_t>(at) % sizeof(uintptr_t)) {
    if (!*at) return static_cast<size_t>(at - text);
    ++at;
  }
  constexpr uintptr_t kOnes = ~uintptr_t{0} / 0xFF;
  constexpr uintptr_t kHighs = kOnes << 7;
  for (;; at += sizeof(uintptr_t)) {
    uintptr_t word;
    std::memcpy(&word, at, sizeof word);
    if ((word - kOnes) & ~word & kHighs) break;  // some byte of the word is zero
  }
  while (*at) ++at;
  return static_cast<size_t>(at - text);
}

size_t ScanLength(const char* text) {
  static const auto scan = HasSse2() ? Sse2Length : WordwiseLength;
  return scan(text);
}

size_t NextCandidate(const char* text, size_t from, size_t end, unsigned char first, unsigned char last,
                     size_t distance, bool fold) {
  static const auto next = HasSse2() ? Sse2Candidate : BytewiseCandidate;
  return next(text, from, end, first, last, distance, fold);
}
