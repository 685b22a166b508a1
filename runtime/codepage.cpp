#include "runtime/codepage.h"

#include <windows.h>

std::wstring GbkToWide(std::string_view text) {
  if (text.empty()) return {};
  int count = MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), count);
  return wide;
}

std::string WideToGbk(std::wstring_view text) {
  if (text.empty()) return {};
  int count = WideCharToMultiByte(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string bytes(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), count, nullptr,
                      nullptr);
  return bytes;
}
