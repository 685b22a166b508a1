// The get-link command. A click reads the edits and hands the work to a
// worker (app/get_link_run.h); while it runs the button is disabled, the
// window shows the wait cursor and goes on answering. Its outcome comes
// back as a message and is applied here, on the window's thread.
#include <utility>

#include "app/get_link_run.h"
#include "app/main_window_commands.h"
#include "app/program_objects.h"
#include "runtime/clipboard.h"

Text resolvedLink;
int passwordGiven = 0;

namespace {

constexpr UINT kGetLinkEnded = WM_APP + 1;

// Whether a run is in flight. Only the window's thread reads or writes it.
bool g_running = false;

// Makes the cursor over the window what the window now wants without
// waiting for the mouse to move, as the system would on a move.
void RefreshCursor() {
  POINT point;
  if (!GetCursorPos(&point)) return;
  HWND under = WindowFromPoint(point);
  if (!under || GetAncestor(under, GA_ROOT) != MainWindow->GetHandle()) return;
  const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

void SetRunning(bool running) {
  g_running = running;
  // A disabled button that kept the focus would leave the keyboard nowhere.
  if (running && getLinkButton->HasFocus()) MainWindow->Send(WM_NEXTDLGCTL, 0, FALSE);
  getLinkButton->Enabled(!running);
  MainWindow->SetWaitCursor(running);
  RefreshCursor();
}

// The outcome as the command has always shown it: the boxes, the state,
// the result edit and the clipboard, in this order.
void Apply(GetLinkOutcome& outcome) {
  switch (outcome.end) {
    case GetLinkOutcome::End::kOffline:
      Tell("当前未连接互联网,请检查网络连接", MessageStyle::kError, "错误");
      return;
    case GetLinkOutcome::End::kNoLink:
      Tell("必须键入Zorvo外链", MessageStyle::kError, "错误");
      return;
    case GetLinkOutcome::End::kResolved: break;
  }
  passwordGiven = outcome.passwordGiven;
  resolvedLink = std::move(outcome.link);
  if (resolvedLink.empty()) {
    Tell("直链获取失败", MessageStyle::kError, "提示");
    return;
  }
  resultEdit->EditText(resolvedLink.c_str());
  // A link that did not reach the clipboard is not reported as copied.
  if (SetClipboardText(resolvedLink.c_str())) {
    Tell("直链获取成功!\r\n已将直链复制到剪贴板", MessageStyle::kInformation, "提示");
  } else {
    Tell("直链获取成功!\r\n复制到剪贴板失败,请手动复制", MessageStyle::kInformation, "提示");
  }
}

}  // namespace

INT_PTR CALLBACK OnGetLinkClick(HWND, INT_PTR) {
  if (g_running) return 0;  // a click queued before the button was disabled
  GetLinkInputs inputs{linkEdit->EditText(), passwordEdit->EditText(), ActiveWindowSettings()};
  if (!StartGetLinkRun(MainWindow->GetHandle(), kGetLinkEnded, std::move(inputs))) {
    Tell("直链获取失败", MessageStyle::kError, "提示");
    return 0;
  }
  SetRunning(true);
  return 0;
}

INT_PTR CALLBACK OnMainWindowMessage(HWND, UINT_PTR message, WPARAM, LPARAM lParam, INT_PTR* handled) {
  if (message != kGetLinkEnded) return 0;
  std::unique_ptr<GetLinkOutcome> outcome = TakeGetLinkOutcome(lParam);
  *handled = 1;
  SetRunning(false);
  Apply(*outcome);
  return 0;
}
