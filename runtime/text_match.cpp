#include "runtime/text_match.h"

#include <cstring>

#include "runtime/byte_scan.h"

bool IsCharacterStart(std::string_view text, size_t known, size_t at) {
  // The byte after a single-byte value always starts a character (whether that
  // byte was a character or the end of a pair), so only the run of lead-like
  // bytes right before `at` decides: they pair up from the run's start.
  size_t run = 0;
  while (at - run > known && IsLeadByte(text[at - run - 1])) ++run;
  return run % 2 == 0;
}

size_t SkipCharacters(std::string_view text, size_t count) {
  if (count >= text.size()) return text.size();
  return IsCharacterStart(text, 0, count) ? count : count + 1;
}

size_t SearchOffset(std::string_view text, std::optional<int> start) {
  return SkipCharacters(text, start && *start > 1 ? static_cast<size_t>(*start - 1) : 0);
}

bool MatchesAt(const char* at, std::string_view pattern, bool ignoreCase) {
  if (!ignoreCase) return std::memcmp(at, pattern.data(), pattern.size()) == 0;
  bool secondOfPair = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (at[i] != pattern[i] && (secondOfPair || FoldCase(at[i]) != FoldCase(pattern[i]))) return false;
    secondOfPair = !secondOfPair && IsLeadByte(pattern[i]);
  }
  return true;
}

size_t FindAtCharacterStart(std::string_view text, size_t from, std::string_view pattern, bool ignoreCase) {
  if (pattern.size() > text.size()) return std::string_view::npos;
  // Candidates agree with the pattern in their first and last byte; a match
  // counts only where it starts a character.
  size_t end = text.size() - pattern.size() + 1;
  size_t distance = pattern.size() - 1;
  unsigned char first = ignoreCase ? FoldCase(pattern.front()) : static_cast<unsigned char>(pattern.front());
  unsigned char last = ignoreCase ? FoldCase(pattern.back()) : static_cast<unsigned char>(pattern.back());
  bool certain = !ignoreCase && pattern.size() <= 2;  // the filter compares every byte
  size_t known = from;
  for (size_t at = from; (at = NextCandidate(text.data(), at, end, first, last, distance, ignoreCase)) < end; ++at) {
    if (!certain && !MatchesAt(text.data() + at, pattern, ignoreCase)) continue;
    if (IsCharacterStart(text, known, at)) return at;
    known = at + 1;  // `at` is the second byte of a pair
  }
  return std::string_view::npos;
}
