// The toolkit's message loop. Before a message is dispatched, the top-level
// window it belongs to may take it: its hosted ActiveX controls, its MDI
// client, its accelerators, and the dialog manager for the keys the target
// window's "zyStyle" lets through.
#include <windows.h>

#include "ui/core/window_binding.h"
#include "ui/core/window_registry.h"
#include "ui/dialogs/toolkit_app.h"
#include "ui/dialogs/top_window.h"

namespace {

// What ActiveX host windows answer with non-zero when they translated the
// message (lParam) for their control.
constexpr UINT kForwardMessage = 0x037F;

INT_PTR ToolkitStyleOf(HWND window) {
  WindowBinding* binding = FindBinding(window);
  return binding ? binding->Get("zyStyle") : 0;
}

// Esc is never the dialog manager's: the window's parent hears IDCANCEL
// (a top-level window hears it itself; its owner is no parent).
void SendCancel(HWND window) {
  HWND parent = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
  SendMessageW(parent ? parent : window, WM_COMMAND, IDCANCEL, 0);
}

bool TakenByTopWindow(const WindowBinding& top, HWND root, MSG& message) {
  if (auto* hosted = top.GetHandle<HostedActiveXWindows*>("ATLWindows")) {
    for (HWND host : *hosted)
      if ((host == message.hwnd || IsChild(host, message.hwnd)) &&
          SendMessageW(host, kForwardMessage, 0, reinterpret_cast<LPARAM>(&message)))
        return true;
  }
  if (auto client = top.GetHandle<HWND>("hWndMDIClient"); client && TranslateMDISysAccel(client, &message))
    return true;
  auto table = top.GetHandle<HACCEL>("hAccelTable");
  return table && TranslateAcceleratorW(root, table, &message);
}

bool PreTranslate(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (!root) return false;
  if (WindowBinding* top = FindBinding(root); top && TakenByTopWindow(*top, root, message)) return true;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) SendCancel(message.hwnd);
  return ReachesDialogManager(message, ToolkitStyleOf(message.hwnd)) && IsDialogMessageW(root, &message);
}

}  // namespace

bool ReachesDialogManager(const MSG& message, INT_PTR toolkitStyle) {
  using namespace ToolkitStyle;
  if (message.message >= WM_MOUSEFIRST && message.message <= WM_MBUTTONDBLCLK) return true;
  if (message.message != WM_KEYDOWN && message.message != WM_KEYUP) return false;
  switch (message.wParam) {
    case VK_TAB: return toolkitStyle & kDialogTab;
    case VK_RETURN: return toolkitStyle & (kDialogEnter | kDialogTab);
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: return toolkitStyle & (kDialogArrows | kDialogTab);
    default: return false;
  }
}

// A failing queue (-1) ends the loop as WM_QUIT does.
int ToolkitApp::RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : -1;
}
