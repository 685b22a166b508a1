#include "app/command_arguments.h"

#include <windows.h>
#include <shellapi.h>

std::vector<std::wstring> CommandArguments() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(words[i]);
  LocalFree(words);
  return arguments;
}
