// The window object's resource stage, on top of its event dispatch: the
// cursor, native font and child objects a window owns are released when the
// window is destroyed or its binding goes; the cursor is shown over the
// client area.
#include "ui/core/window_object.h"

namespace {

// "Border" is a plain code: it stays with the binding for a later window.
void ReleaseResources(WindowBinding& binding) {
  binding.FreeHandle<HCURSOR>("hCursor", DestroyCursor);
  binding.FreeHandle<HFONT>("hFont", DeleteObject);
  binding.FreeHandle<OwnedControls*>("Controls", [](OwnedControls* controls) { delete controls; });
}

LRESULT HandleMessage(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  switch (m.id) {
    case WM_NCDESTROY: ReleaseResources(binding); return 0;
    case WM_SETCURSOR: {
      auto cursor = binding.GetHandle<HCURSOR>("hCursor");
      if (!cursor || LOWORD(m.lParam) != HTCLIENT || reinterpret_cast<HWND>(m.wParam) != m.window) return 0;
      SetCursor(cursor);
      handled = true;
      return TRUE;
    }
    default: return 0;
  }
}

}  // namespace

const WindowLevel kWindowObjectLevel{&kWindowDispatchLevel, HandleMessage, nullptr, ReleaseResources};
