#include "app/console_output.h"

#include "runtime/codepage.h"

std::string GbkToUtf8(std::string_view text) {
  std::wstring wide = GbkToWide(text);
  if (wide.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

bool WriteBytes(DWORD standardHandle, std::string_view bytes) {
  HANDLE handle = GetStdHandle(standardHandle);
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

bool WriteGbk(DWORD standardHandle, std::string_view text) {
  HANDLE handle = GetStdHandle(standardHandle);
  DWORD mode;
  if (!GetConsoleMode(handle, &mode)) return WriteBytes(standardHandle, GbkToUtf8(text));
  std::wstring wide = GbkToWide(text);
  DWORD written = 0;
  return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) &&
         written == wide.size();
}
