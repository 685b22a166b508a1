// show-message-program FLAGS: shows one box through the runtime's message
// command, with a Chinese two-line text, the title "提示" and the box flags
// given (a number, 0x for hexadecimal), and exits with the button pressed
// (0-based). The window-driving support is tested against it.
#include <windows.h>

#include <cstdlib>

#include "runtime/show_message.h"

int main(int argc, char** argv) {
  int flags = argc > 1 ? static_cast<int>(std::strtol(argv[1], nullptr, 0)) : MB_OK;
  return ShowMessage(TypedArg::OfText("直链获取成功!\r\n已将直链复制到剪贴板"), flags, "提示");
}
