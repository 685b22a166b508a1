#include "ui/core/window_procedure.h"

#include "ui/core/window_registry.h"

namespace {

std::optional<LRESULT> RunLevels(WindowBinding& binding, const WindowMessage& message) {
  bool handled = false;
  LRESULT result = binding.HandleMessage(message, handled);
  if (handled) return result;
  return std::nullopt;
}

}  // namespace

std::optional<LRESULT> RouteToBinding(const WindowMessage& message) {
  WindowBinding* binding = FindBinding(message.window);
  return binding ? RunLevels(*binding, message) : std::nullopt;
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
    if (std::optional<LRESULT> result = RunLevels(*binding, message)) return *result;
  } catch (...) {
  }
  return CallPreviousProcedure(previous, message);
}
