// The copy command. With nothing resolved it leaves the clipboard as it is
// and says so, and a failed copy is reported as one.
#include "app/main_window_commands.h"
#include "runtime/clipboard.h"

INT_PTR CALLBACK OnCopyClick(HWND, INT_PTR) {
  if (resolvedLink.empty()) {
    Tell("没有可复制的直链", MessageStyle::kError, "提示");
  } else if (SetClipboardText(resolvedLink.c_str())) {
    Tell("已将直链复制到剪贴板", MessageStyle::kInformation, "提示");
  } else {
    Tell("复制到剪贴板失败", MessageStyle::kError, "提示");
  }
  return 0;
}
