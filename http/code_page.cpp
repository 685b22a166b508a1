#include "http/code_page.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {
unsigned EffectiveCodePage(unsigned codePage) { return codePage == CP_ACP ? kTextCodePage : codePage; }
}  // namespace

Text Utf8BytesToText(const Bytes& bytes) {
  return Utf16BytesToText(MultiByteToUtf16Bytes(bytes, CP_UTF8), kTextCodePage);
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
