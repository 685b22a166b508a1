// zorvo-link-test: the window program for tests and the demo, pointed at
// local servers:
//   zorvo-link-test [--box-log FILE] [--online-check-url URL] [--base-site URL]
// With --box-log, the style of every message box is appended to FILE as a
// line ("0x40040") before the box is shown, since a box's style cannot be
// read from another process. Wrong usage exits with code 2.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_arguments.h"
#include "app/main_window.h"
#include "runtime/message_box.h"

namespace {

std::wstring g_boxLog;

int LoggedMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
  if (FILE* log = _wfopen(g_boxLog.c_str(), L"ab")) {
    std::fprintf(log, "0x%x\n", style);
    std::fclose(log);
  }
  return MessageBoxW(owner, text, caption, style);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::wstring> arguments = CommandArguments();
  if (arguments.size() >= 2 && arguments[0] == L"--box-log") {
    g_boxLog = arguments[1];
    arguments.erase(arguments.begin(), arguments.begin() + 2);
    SetMessageBoxHandler(LoggedMessageBox);
  }
  std::optional<WindowSettings> settings = ParseWindowTestArguments(arguments);
  if (!settings) return 2;
  RunProgram(std::move(*settings));
}
