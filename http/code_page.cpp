#include "http/code_page.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kSliceBytes = 64 * 1024;
constexpr size_t kLongestSequence = 4;

unsigned EffectiveCodePage(unsigned codePage) { return codePage == CP_ACP ? kTextCodePage : codePage; }

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where a slice of at most `limit` bytes ends: before the first byte of a
// character, so that the slices decode exactly as the whole would. A
// continuation byte with three more before it belongs to no character and
// decodes alone, so the slice may end before it.
size_t SliceEnd(std::string_view utf8, size_t limit) {
  if (utf8.size() <= limit) return utf8.size();
  for (size_t end = limit; end + kLongestSequence > limit; --end) {
    if (!IsContinuation(utf8[end])) return end;
  }
  return limit;
}

}  // namespace

Text Utf8BytesToText(const Bytes& bytes) { return Utf8ToText(bytes.view(), kSliceBytes); }

Text Utf8ToText(std::string_view utf8, size_t sliceBytes) {
  utf8 = utf8.substr(0, utf8.find('\0'));
  if (utf8.empty()) return Text();
  sliceBytes = std::max(sliceBytes, kLongestSequence);
  // No UTF-8 byte decodes to more than one UTF-16 unit, and no unit takes
  // more GBK bytes than the UTF-8 bytes it came from (an invalid byte becomes
  // one default character): the text needs at most the input's size.
  std::vector<wchar_t> wide(sliceBytes);
  size_t capacity = utf8.size();
  Text text = Text::Allocate(capacity);
  size_t length = 0;
  while (!utf8.empty()) {
    const size_t take = SliceEnd(utf8, sliceBytes);
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(take), wide.data(),
                                          static_cast<int>(wide.size()));
    int written = WideCharToMultiByte(kTextCodePage, 0, wide.data(), units, text.data() + length,
                                      static_cast<int>(capacity - length), nullptr, nullptr);
    if (written == 0 && units > 0) {  // should a platform ever need more room
      capacity = length + 2 * static_cast<size_t>(units) + utf8.size();
      text = Text::Adopt(static_cast<char*>(RuntimeRealloc(text.release(), capacity + 1)));
      written = WideCharToMultiByte(kTextCodePage, 0, wide.data(), units, text.data() + length,
                                    static_cast<int>(capacity - length), nullptr, nullptr);
    }
    length += static_cast<size_t>(written);
    utf8.remove_prefix(take);
  }
  if (length == 0) return Text();
  // Chinese text takes a third less room in GBK: give the rest back.
  if (capacity - length > length / 8) {
    text = Text::Adopt(static_cast<char*>(RuntimeRealloc(text.release(), length + 1)));
  }
  text.data()[length] = 0;
  return text;
}

bool IsWellFormedUtf8(std::string_view bytes) {
  return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                              static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

Bytes MultiByteToUtf16Bytes(const Bytes& bytes, unsigned codePage) {
  const std::string source(bytes.view());  // zero-terminated copy
  if (source.empty() || source[0] == '\0') return Bytes();
  codePage = EffectiveCodePage(codePage);
  const int units = MultiByteToWideChar(codePage, 0, source.c_str(), -1, nullptr, 0);
  if (units <= 0) return Bytes();  // a code page the platform does not know
  Bytes wide = Bytes::Allocate(static_cast<size_t>(units) * sizeof(wchar_t), true);
  MultiByteToWideChar(codePage, 0, source.c_str(), -1, reinterpret_cast<wchar_t*>(wide.data()), units);
  return wide;
}

Bytes Utf16ToMultiByteBytes(const Bytes& bytes, unsigned codePage) {
  // Whole units only, then a zero unit: an odd trailing byte becomes the low
  // half of a last unit rather than letting the terminator straddle the end.
  std::wstring source((bytes.size() + 1) / 2, L'\0');
  if (!bytes.empty()) std::memcpy(source.data(), bytes.data(), bytes.size());
  if (source.empty() || source[0] == L'\0') return Bytes();
  codePage = EffectiveCodePage(codePage);
  const int size = WideCharToMultiByte(codePage, 0, source.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return Bytes();
  std::string converted(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, source.c_str(), -1, converted.data(), size, nullptr, nullptr);
  return Bytes::Copy(std::string_view(converted.c_str()));
}

Text Utf16BytesToText(const Bytes& bytes, unsigned codePage) {
  return Text::Copy(Utf16ToMultiByteBytes(bytes, codePage).view());
}
