#include "ui/core/window_procedure.h"

#include "ui/core/window_registry.h"

std::optional<LRESULT> RouteToBinding(const WindowMessage& message) {
  WindowBinding* binding = FindBinding(message.window);
  if (!binding) return std::nullopt;
  bool handled = false;
  LRESULT result = binding->HandleMessage(message, handled);
  if (handled) return result;
  return std::nullopt;
}

LRESULT CallPreviousProcedure(WNDPROC previous, const WindowMessage& message) {
  return previous ? CallWindowProcW(previous, message.window, message.id, message.wParam, message.lParam)
                  : DefWindowProcW(message.window, message.id, message.wParam, message.lParam);
}

// The previous procedure is read before the levels run: unbinding on
// WM_NCDESTROY forgets it, yet that message must still reach it.
LRESULT CALLBACK WindowProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) noexcept {
  const WindowMessage message{window, id, wParam, lParam};
  WNDPROC previous = nullptr;
  try {
    WindowBinding* binding = FindBinding(window);
    if (!binding) return DefWindowProcW(window, id, wParam, lParam);
    previous = binding->GetHandle<WNDPROC>("oldWndProp");
    if (std::optional<LRESULT> result = RouteToBinding(message)) return *result;
  } catch (...) {
  }
  return CallPreviousProcedure(previous, message);
}
