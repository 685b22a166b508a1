#include "ui/core/window_binding.h"

#include "runtime/heap.h"
#include "ui/core/window_registry.h"

namespace {

using LevelHandler = LRESULT (*WindowLevel::*)(WindowBinding&, const WindowMessage&, bool&);

// Runs the levels from the top down until one handles the message.
LRESULT RunChain(WindowBinding& binding, LevelHandler entry, const WindowMessage& message, bool& handled) {
  for (const WindowLevel* level = &binding.Level(); level; level = level->below) {
    if (!(level->*entry)) continue;
    handled = false;
    LRESULT result = (level->*entry)(binding, message, handled);
    if (handled) return result;
  }
  handled = false;
  return 0;
}

}  // namespace

WindowBinding::~WindowBinding() {
  RuntimeFree(reinterpret_cast<void*>(Get("Type")));
  RuntimeFree(reinterpret_cast<void*>(Get("Name")));
}

void WindowBinding::Release() noexcept {
  if (InterlockedDecrement(&references_) != 0) return;
  DetachWindow();
  delete this;
}

LRESULT WindowBinding::HandleMessage(const WindowMessage& message, bool& handled) {
  return RunChain(*this, &WindowLevel::handleMessage, message, handled);
}

LRESULT WindowBinding::HandleReflected(const WindowMessage& message, bool& handled) {
  return RunChain(*this, &WindowLevel::handleReflected, message, handled);
}

void WindowBinding::DetachWindow() {
  for (const WindowLevel* level = level_; level; level = level->below)
    if (level->detachWindow) level->detachWindow(*this);
}

void WindowBinding::Register(HWND window) {
  Set("hWnd", reinterpret_cast<INT_PTR>(window));
  RegisterBinding(window, this);
}

void WindowBinding::Unbind() {
  if (HWND window = Window()) {
    if (INT_PTR previous = Get("oldWndProp")) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, previous);
      Remove("oldWndProp");
    }
    if (FindBinding(window) == this) UnregisterWindow(window);
    Remove("hWnd");
  }
  FreeHandle<WindowBinding*>("zyLayout", [](WindowBinding* layout) { layout->Release(); });
}
