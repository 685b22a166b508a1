// Writing GBK texts to the standard handles: a console gets UTF-16 (so it
// reads right whatever its code page), a file or pipe gets UTF-8.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

std::string GbkToUtf8(std::string_view text);
// Whether the standard handle is a console (rather than a file or pipe).
bool IsConsole(DWORD standardHandle);
// Each write is true when everything was written.
bool WriteGbk(DWORD standardHandle, std::string_view text);
// Writes bytes unchanged (for text that is already UTF-8).
bool WriteBytes(DWORD standardHandle, std::string_view bytes);
