#include "app/console_output.h"

#include "runtime/codepage.h"

std::string GbkToUtf8(std::string_view text) { return WideToUtf8(GbkToWide(text)); }

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

bool IsConsole(DWORD standardHandle) {
  DWORD mode;
  return GetConsoleMode(GetStdHandle(standardHandle), &mode);
}

bool WriteGbk(DWORD standardHandle, std::string_view text) {
  if (!IsConsole(standardHandle)) return WriteBytes(standardHandle, GbkToUtf8(text));
  HANDLE handle = GetStdHandle(standardHandle);
  std::wstring wide = GbkToWide(text);
  DWORD written = 0;
  return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) &&
         written == wide.size();
}
