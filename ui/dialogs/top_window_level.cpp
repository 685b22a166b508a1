// The top-level window's level: creation with its first layout pass, close
// with veto and the owner's reactivation, the window events, Enter and Esc
// through the default and cancel buttons, menu and system commands, the
// caption kept active, free move, the wait cursor, the background and the
// notification-area icon's messages (ui/tray). What it does not end goes on
// to the window object's levels.
#include <windows.h>
#include <windowsx.h>

#include "ui/dialogs/top_window.h"
#include "ui/fonts/gdiplus_api.h"
#include "ui/fonts/native_font.h"
#include "ui/tray/tray_icon.h"

namespace {

using namespace Gdiplus::DllExports;

void ReleaseBinding(WindowBinding* binding) { binding->Release(); }

// Each key goes after its resource.
void DetachWindow(WindowBinding& binding) {
  binding.FreeHandle<Gdiplus::GpImage*>("pBackImage", GdipDisposeImage);
  ReleaseTrayIcon(binding);
  binding.FreeHandle<HACCEL>("hAccelTable", DestroyAcceleratorTable);
  binding.FreeHandle<HostedActiveXWindows*>("ATLWindows", [](HostedActiveXWindows* hosted) { delete hosted; });
  // Both hold a reference to a button's binding.
  binding.FreeHandle<WindowBinding*>("DefaultButton", ReleaseBinding);
  binding.FreeHandle<WindowBinding*>("CancelButton", ReleaseBinding);
  binding.FreeHandle<HICON>("BigIcon", DestroyIcon);
  binding.FreeHandle<HICON>("SmallIcon", DestroyIcon);
  binding.Remove("FirstActivte");
}

void PressButton(const WindowBinding& window, const char* key) {
  if (auto* button = window.GetHandle<WindowBinding*>(key)) SendMessageW(button->Window(), BM_CLICK, 0, 0);
}

// Enter (IDOK) and Esc (IDCANCEL) of a dialog or menu: true when the id is
// one of them, whether or not a button was there to press.
bool PressDefaultOrCancel(const WindowBinding& binding, HWND window, WORD id) {
  if (id == IDOK) {
    PressButton(binding, "DefaultButton");
    return true;
  }
  if (id != IDCANCEL) return false;
  PressButton(binding, "CancelButton");
  if (binding.Get("EscClose")) SendMessageW(window, WM_CLOSE, 0, 0);
  return true;
}

void ReactivateOwner(HWND window) {
  auto owner = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_HWNDPARENT));
  if (!owner || !IsWindowVisible(owner)) return;
  if (!IsWindowEnabled(owner)) EnableWindow(owner, TRUE);
  SetWindowPos(owner, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

// Layout runs once when the window is made: after the creation events.
void Created(WindowBinding& binding, HWND window) {
  binding.Call(Event::XmlresOnCreate, &binding, window, binding.Get("XmlNode"));
  binding.Call(Event::OnCreate, window);
  RECT client;
  GetClientRect(window, &client);
  SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void DrawImage(Gdiplus::GpImage* image, INT_PTR mode, HDC dc, const RECT& client) {
  Gdiplus::GpGraphics* graphics = nullptr;
  if (GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return;
  UINT width = 0, height = 0;
  GdipGetImageWidth(image, &width);
  GdipGetImageHeight(image, &height);
  auto w = static_cast<INT>(width), h = static_cast<INT>(height);
  if (mode == 1) {
    GdipDrawImageRectI(graphics, image, 0, 0, w, h);
  } else if (mode == 2) {
    GdipDrawImageRectI(graphics, image, (client.right - w) / 2, (client.bottom - h) / 2, w, h);
  } else {
    GdipDrawImageRectI(graphics, image, 0, 0, client.right, client.bottom);
  }
  GdipDeleteGraphics(graphics);
}

// True when a colour or an image was drawn.
bool DrawBackground(const WindowBinding& binding, HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  auto color = static_cast<COLORREF>(binding.Has("BackColor") ? binding.Get("BackColor") : CLR_INVALID);
  if (color != CLR_INVALID) FillRect(dc, &client, NativeBrush(CreateSolidBrush(color)).get());
  auto* image = binding.GetHandle<Gdiplus::GpImage*>("pBackImage");
  if (image) DrawImage(image, binding.Get("ShowImageType"), dc, client);
  return color != CLR_INVALID || image;
}

LRESULT Command(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  WORD code = HIWORD(m.wParam), id = LOWORD(m.wParam);
  if (m.lParam != 0 || code > 1) return 0;
  if (code == 0 && PressDefaultOrCancel(binding, m.window, id)) {
    handled = true;
    return 1;
  }
  binding.Call(Event::OnMenuItemClick, m.window, id);
  return 0;
}

LRESULT SysCommand(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  if ((m.wParam & 0xFFF0) == SC_CLOSE) {
    handled = binding.Call(Event::OnUserClose, m.window).value_or(0) != 0;
    return 0;
  }
  binding.Call(Event::OnSysCommand, m.window, m.wParam, LOWORD(m.lParam), HIWORD(m.lParam));
  return 0;
}

LRESULT MinMaxInfo(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  auto* layout = binding.GetHandle<WindowBinding*>("zyLayout");
  if (!layout) return 0;
  bool layoutHandled = false;
  LRESULT result = layout->HandleMessage(m, layoutHandled);
  handled = result != 0;
  return result;
}

LRESULT HandleMessage(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  HWND window = m.window;
  switch (m.id) {
    case WM_NCDESTROY: DetachWindow(binding); return 0;
    case WM_ERASEBKGND:
      handled = DrawBackground(binding, window, reinterpret_cast<HDC>(m.wParam));
      return handled ? 1 : 0;
    case WM_CREATE:
    case WM_INITDIALOG: Created(binding, window); return 0;
    case WM_CLOSE:
      if (binding.Call(Event::OnClose, window).value_or(0)) {
        handled = true;
        return 1;
      }
      ReactivateOwner(window);
      return 0;
    case WM_DESTROY:
      handled = binding.Call(Event::OnDestory, window).has_value();
      return 0;
    case WM_MOVE: binding.Call(Event::OnMove, window, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)); return 0;
    case WM_SIZE: binding.Call(Event::OnSize, window, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)); return 0;
    case WM_ACTIVATE: binding.Call(LOWORD(m.wParam) ? Event::OnActivate : Event::OnUnActivate, window); return 0;
    case WM_SHOWWINDOW: binding.Call(m.wParam ? Event::OnShow : Event::OnHide, window); return 0;
    case WM_COMMAND: return Command(binding, m, handled);
    case WM_NCACTIVATE:
      handled = m.wParam == 0 && binding.Get("NCEverActive");
      return handled ? 1 : 0;
    case WM_LBUTTONDOWN:
      if (binding.Get("FreeMove")) SendMessageW(window, WM_SYSCOMMAND, 0xF012, 0);
      return 0;
    case WM_GETMINMAXINFO: return MinMaxInfo(binding, m, handled);
    case WM_INITMENUPOPUP:
      handled = binding
                    .Call(Event::OnInitMenuPopup, window, reinterpret_cast<HMENU>(m.wParam),
                          static_cast<SHORT>(LOWORD(m.lParam)), HIWORD(m.lParam))
                    .has_value();
      return 0;
    case WM_MENUSELECT:
      handled = binding
                    .Call(Event::OnMenuSelect, window, reinterpret_cast<HMENU>(m.lParam),
                          static_cast<SHORT>(LOWORD(m.wParam)), HIWORD(m.wParam))
                    .has_value();
      return 0;
    case WM_SYSCOMMAND: return SysCommand(binding, m, handled);
    case WM_ACTIVATEAPP:
      if (m.wParam && !binding.Get("FirstActivte")) {
        binding.Set("FirstActivte", 1);
        if (binding.Get(Event::OnFirstActivate.name)) {
          SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
          binding.Call(Event::OnFirstActivate, window);
        }
      }
      return 0;
    case WM_SETCURSOR:
      if (!binding.Get("WaitCursor")) return 0;
      SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
      handled = true;
      return TRUE;
    default:  // the notification-area icon's message and the shell's "TaskbarCreated"
      HandleTrayMessage(binding, m);
      return 0;
  }
}

}  // namespace

const WindowLevel kTopWindowLevel{&kWindowObjectLevel, HandleMessage, nullptr, DetachWindow};
