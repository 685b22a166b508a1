// The edit box's level. Tab moves the focus to the next tab stop and Enter
// asks the parent for IDOK, unless the edit wants the key itself
// (ES_WANTRETURN or its "zyStyle" bit). With "vCenter" the client area is
// cut down to one text line in the middle of the window: the bands above
// and below it become frame, painted in the window colour. Text changes
// reflected from the parent call "OnTextChange".
#include <algorithm>
#include <cmath>

#include "ui/controls/edit_control.h"
#include "ui/fonts/device_context.h"
#include "ui/fonts/native_font.h"

namespace {

constexpr const char* kBands[] = {"rectNCTop", "rectNCBottom"};

void FreeBands(WindowBinding& binding) {
  for (const char* key : kBands) binding.FreeHandle<RECT*>(key, [](RECT* band) { delete band; });
}

RECT& Band(WindowBinding& binding, const char* key) {
  auto* band = binding.GetHandle<RECT*>(key);
  if (!band) {
    band = new RECT{};
    binding.Set(key, reinterpret_cast<INT_PTR>(band));
  }
  return *band;
}

LRESULT KeyDown(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  if (GetWindowLongW(m.window, GWL_STYLE) & ES_WANTRETURN) return 0;
  INT_PTR own = binding.Get("zyStyle");
  if (m.wParam == VK_TAB && !(own & ToolkitStyle::kDialogTab)) {
    bool backwards = GetAsyncKeyState(VK_SHIFT) & 0x8000;
    if (HWND next = GetNextDlgTabItem(GetAncestor(m.window, GA_ROOT), m.window, backwards)) SetFocus(next);
    handled = true;
  } else if (m.wParam == VK_RETURN && !(own & ToolkitStyle::kDialogEnter)) {
    SendMessageW(GetParent(m.window), WM_COMMAND, IDOK, 0);
    handled = true;
  }
  return 0;
}

// Height of a text line in the edit's font ("ky": ascender and descender).
int LineHeight(HWND edit) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  WindowDC dc(edit);
  HGDIOBJ previous = SelectObject(dc.get(), font);
  RECT measured{};
  DrawTextW(dc.get(), L"ky", 2, &measured, DT_CALCRECT);
  SelectObject(dc.get(), previous);
  return measured.bottom - measured.top;
}

int HalfRounded(int value) { return static_cast<int>(std::lround(value / 2.0)); }

// The frame thickness is taken once, from the frame the edit has before it
// is first centred.
void MeasureFrame(WindowBinding& binding, HWND edit) {
  if (binding.Has("uiCX")) return;
  RECT window, client;
  GetWindowRect(edit, &window);
  GetClientRect(edit, &client);
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
  binding.Set("uiCX", HalfRounded((window.right - window.left) - (client.right - client.left)));
  binding.Set("uiCY", HalfRounded((window.bottom - window.top) - (client.bottom - client.top)));
}

// The rectangle at lParam is the window's rectangle as it is about to be
// (GetWindowRect still answers the old one while the edit is being
// resized); it becomes the client area. A text line taller than the window
// keeps the client area inside the frame.
LRESULT CentreClientArea(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  MeasureFrame(binding, m.window);
  auto cx = static_cast<int>(binding.Get("uiCX")), cy = static_cast<int>(binding.Get("uiCY"));
  RECT& area = *reinterpret_cast<RECT*>(m.lParam);
  int width = area.right - area.left, height = area.bottom - area.top;
  int inset = std::min(std::max(HalfRounded(height - LineHeight(m.window)), cy), height / 2);
  Band(binding, "rectNCTop") = {cx, cy, width - cx, inset};
  Band(binding, "rectNCBottom") = {cx, height - inset, width - cx, height - cy};
  area = {area.left + cx, area.top + inset, area.right - cx, area.bottom - inset};
  handled = true;
  return 0;
}

// The frame first, then the bands over it.
LRESULT PaintBands(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  auto* top = binding.GetHandle<const RECT*>(kBands[0]);
  auto* bottom = binding.GetHandle<const RECT*>(kBands[1]);
  if (!top || !bottom || !binding.Get("vCenter")) return 0;
  DefWindowProcW(m.window, m.id, m.wParam, m.lParam);
  WholeWindowDC dc(m.window);
  NativeBrush brush(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  FillRect(dc.get(), top, brush.get());
  FillRect(dc.get(), bottom, brush.get());
  handled = true;
  return 0;
}

LRESULT HandleMessage(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  switch (m.id) {
    case WM_KEYDOWN: return KeyDown(binding, m, handled);
    case WM_NCCALCSIZE: return binding.Get("vCenter") ? CentreClientArea(binding, m, handled) : 0;
    case WM_NCPAINT: return PaintBands(binding, m, handled);
    case WM_NCDESTROY: FreeBands(binding); return 0;
    default: return 0;
  }
}

// The result is ignored; the control's reflection follows.
LRESULT Reflected(WindowBinding& binding, const WindowMessage& m, bool&) {
  if (m.id == WM_COMMAND && HIWORD(m.wParam) == EN_CHANGE)
    binding.Call(Event::OnTextChange, reinterpret_cast<HWND>(m.lParam), static_cast<short>(LOWORD(m.wParam)));
  return 0;
}

}  // namespace

const WindowLevel kEditLevel{&kControlWindowLevel, HandleMessage, Reflected, FreeBands};
