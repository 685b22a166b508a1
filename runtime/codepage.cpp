#include "runtime/codepage.h"

#include <windows.h>

namespace {

std::wstring ToWide(unsigned codePage, std::string_view text) {
  if (text.empty()) return {};
  int count = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), count);
  return wide;
}

std::string FromWide(unsigned codePage, std::wstring_view text) {
  if (text.empty()) return {};
  int count = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                  nullptr);
  std::string bytes(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), count, nullptr,
                      nullptr);
  return bytes;
}

}  // namespace

std::wstring GbkToWide(std::string_view text) { return ToWide(kTextCodePage, text); }
std::string WideToGbk(std::wstring_view text) { return FromWide(kTextCodePage, text); }
std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string WideToUtf8(std::wstring_view text) { return FromWide(CP_UTF8, text); }
