// The window object's event dispatch, the last level of every window's
// chain: the "On..." event keys, hover tracking, reflection of notifications
// to bound child controls, dropped files, timers, layout forwarding and the
// Alt+character search for buttons. Unbinds on WM_NCDESTROY.
#include <windows.h>
#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "runtime/codepage.h"
#include "ui/core/window_object.h"
#include "ui/core/window_registry.h"

INT_PTR ModifierKeys() {
  INT_PTR keys = 0;
  if (GetAsyncKeyState(VK_CONTROL) & 0x8000) keys |= 1;
  if (GetAsyncKeyState(VK_SHIFT) & 0x8000) keys |= 2;
  if (GetAsyncKeyState(VK_MENU) & 0x8000) keys |= 4;
  return keys;
}

namespace {

// A handler's non-zero result makes the message handled with `result`.
LRESULT HandledIfNonZero(std::optional<INT_PTR> handlerResult, LRESULT result, bool& handled) {
  handled = handlerResult && *handlerResult;
  return handled ? result : 0;
}

const Event::Mouse* MouseButtonEvent(UINT id) {
  switch (id) {
    case WM_LBUTTONDOWN: return &Event::OnLButtonDown;
    case WM_LBUTTONUP: return &Event::OnLButtonUp;
    case WM_LBUTTONDBLCLK: return &Event::OnLButtonDblClk;
    case WM_RBUTTONDOWN: return &Event::OnRButtonDown;
    case WM_RBUTTONUP: return &Event::OnRButtonUp;
    default: return nullptr;
  }
}

// The window region is applied once; the system owns it from then on.
LRESULT Paint(WindowBinding& binding, HWND window, bool& handled) {
  if (auto region = binding.GetHandle<HRGN>("WindowhRgn"); region && SetWindowRgn(window, region, TRUE))
    binding.Remove("WindowhRgn");
  if (!binding.Get(Event::OnPaint.name)) return 0;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const RECT& r = paint.rcPaint;
  binding.Call(Event::OnPaint, window, dc, r.left, r.top, r.right, r.bottom);
  EndPaint(window, &paint);
  handled = true;
  return 0;
}

LRESULT MouseMove(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  INT_PTR x = GET_X_LPARAM(m.lParam), y = GET_Y_LPARAM(m.lParam);
  if (binding.Get("EnlableHover") == 1 && binding.Get("isMoveIn") == 0) {
    binding.Set("isMoveIn", 1);
    binding.Call(Event::OnMouseIn, m.window, x, y, ModifierKeys());
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m.window, HOVER_DEFAULT};
    TrackMouseEvent(&track);
  }
  auto result = binding.Call(Event::OnMouseMove, m.window, x, y, ModifierKeys());
  return HandledIfNonZero(result, result.value_or(0), handled);
}

// The child control a notification of the parent is about.
HWND NotifyingChild(const WindowMessage& m) {
  switch (m.id) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_COMMAND: return reinterpret_cast<HWND>(m.lParam);
    case WM_NOTIFY: return m.lParam ? reinterpret_cast<const NMHDR*>(m.lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: return m.lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM: return GetDlgItem(m.window, static_cast<int>(m.wParam));
    default:
      return m.id >= WM_CTLCOLORMSGBOX && m.id <= WM_CTLCOLORSTATIC ? reinterpret_cast<HWND>(m.lParam) : nullptr;
  }
}

// Each path is followed by CR LF; paths of any length arrive whole.
LRESULT DropFiles(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  if (!binding.Get(Event::OnDropFiles.name)) return 0;
  auto drop = reinterpret_cast<HDROP>(m.wParam);
  std::wstring paths;
  for (UINT i = 0, count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.append(path).append(L"\r\n");
  }
  std::string text = WideToGbk(paths);
  binding.Call(Event::OnDropFiles, m.window, text.c_str());
  DragFinish(drop);
  handled = true;
  return 0;
}

void ForwardSizeToLayout(WindowBinding& binding, const WindowMessage& m) {
  auto* layout = binding.GetHandle<WindowBinding*>("zyLayout");
  if (!layout) return;
  bool handled = false;
  layout->HandleMessage({m.window, kLayoutSizeMessage, static_cast<WPARAM>(GET_X_LPARAM(m.lParam)),
                         static_cast<LPARAM>(GET_Y_LPARAM(m.lParam))},
                        handled);
  layout->HandleMessage({m.window, kLayoutApplyMessage, 0, 0}, handled);
}

wchar_t Upper(wchar_t c) { return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(c)))); }

// Whether the window's text marks `key` as its mnemonic ("&" before it,
// either case; "&&" is a literal ampersand).
bool HasMnemonic(HWND window, wchar_t key) {
  std::wstring text = WindowTextW(window);
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] != L'&' && Upper(text[i + 1]) == Upper(key)) return true;
    ++i;
  }
  return false;
}

bool HasClass(HWND window, const wchar_t* className) {
  return lstrcmpiW(WindowClassNameW(window).c_str(), className) == 0;
}

// Depth-first through the descendants of `parent`.
HWND FindMnemonicButton(HWND parent, const wchar_t* className, wchar_t key) {
  for (HWND child = FindWindowExW(parent, nullptr, nullptr, nullptr); child;
       child = FindWindowExW(parent, child, nullptr, nullptr)) {
    if (HasClass(child, className) && HasMnemonic(child, key)) return child;
    if (HWND found = FindMnemonicButton(child, className, key)) return found;
  }
  return nullptr;
}

LRESULT PressMnemonicButton(const WindowMessage& m, bool& handled) {
  HWND root = GetAncestor(m.window, GA_ROOT);
  auto key = static_cast<wchar_t>(m.wParam);
  HWND button = FindMnemonicButton(root, L"button", key);
  if (!button) button = FindMnemonicButton(root, L"zyButton", key);
  if (!button) return 0;
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), 0), reinterpret_cast<LPARAM>(button));
  handled = true;
  return 0;
}

LRESULT Dispatch(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  HWND window = m.window;
  if (const Event::Mouse* button = MouseButtonEvent(m.id)) {
    auto result = binding.Call(*button, window, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam), ModifierKeys());
    return HandledIfNonZero(result, result.value_or(0), handled);
  }
  if (HWND child = NotifyingChild(m)) {
    if (WindowBinding* reflected = FindBinding(child)) return reflected->HandleReflected(m, handled);
    return 0;
  }
  switch (m.id) {
    case WM_NCDESTROY: binding.Unbind(); return 0;
    case WM_PAINT: return Paint(binding, window, handled);
    case WM_MOUSEMOVE: return MouseMove(binding, m, handled);
    case WM_MOUSELEAVE:
      binding.Set("isMoveIn", 0);
      binding.Call(Event::OnMouseLeave, window);
      return 0;
    case WM_MOUSEHOVER: binding.Call(Event::OnMouseHover, window); return 0;
    case WM_SETFOCUS: binding.Call(Event::OnSetFocus, window); return 0;
    case WM_KILLFOCUS: binding.Call(Event::OnKillFocus, window); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return HandledIfNonZero(binding.Call(Event::OnKeyDown, window, m.wParam, ModifierKeys()), 0, handled);
    case WM_KEYUP:
    case WM_SYSKEYUP: return HandledIfNonZero(binding.Call(Event::OnKeyUp, window, m.wParam, ModifierKeys()), 0, handled);
    case WM_MOUSEWHEEL:
      binding.Call(Event::OnMouseWheel, window, GET_WHEEL_DELTA_WPARAM(m.wParam), ModifierKeys());
      return 0;
    case WM_CHAR: {
      auto result = binding.Call(Event::OnChar, window, m.wParam);
      return HandledIfNonZero(result, result.value_or(0), handled);
    }
    case WM_DROPFILES: return DropFiles(binding, m, handled);
    case WM_TIMER:
      handled = binding.Call(Event::OnTimer, window, m.wParam).has_value();
      return 0;
    case WM_SIZE: ForwardSizeToLayout(binding, m); return 0;
    case WM_SYSCHAR: return PressMnemonicButton(m, handled);
    default: return 0;
  }
}

// "OnWndMsg" sees every message first and may take it over. A window that
// is being destroyed is unbound even then: its handle must not stay in the
// registry.
LRESULT HandleMessage(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  INT_PTR taken = 0;
  auto result = binding.Call(Event::OnWndMsg, m.window, m.id, m.wParam, m.lParam, &taken);
  if (result && taken) {
    if (m.id == WM_NCDESTROY) binding.Unbind();
    handled = true;
    return *result;
  }
  return Dispatch(binding, m, handled);
}

void DetachWindow(WindowBinding& binding) {
  binding.Unbind();
  binding.FreeHandle<char*>("Name", RuntimeFree);
}

}  // namespace

const WindowLevel kWindowDispatchLevel{nullptr, HandleMessage, nullptr, DetachWindow};
