// The two levels of every control. The region stage deletes a region that
// was set but never applied. The colour stage owns the background brush and
// answers what the parent reflects to the control: a click (notification
// code 0) calls "OnClick", a colour message gets the control's colours.
#include "ui/controls/control_window.h"

namespace {

void DeleteRegion(WindowBinding& binding) { binding.FreeHandle<HRGN>("WindowhRgn", DeleteObject); }

void DeleteBackBrush(WindowBinding& binding) { binding.FreeHandle<HBRUSH>("BackBrush", DeleteObject); }

LRESULT RegionMessage(WindowBinding& binding, const WindowMessage& m, bool&) {
  if (m.id == WM_NCDESTROY) DeleteRegion(binding);
  return 0;
}

LRESULT ColorMessage(WindowBinding& binding, const WindowMessage& m, bool&) {
  if (m.id == WM_NCDESTROY) DeleteBackBrush(binding);
  return 0;
}

// Without a brush the colour message goes on to the parent's default
// processing, with the text colour already set.
LRESULT AnswerColors(WindowBinding& binding, HDC dc, bool& handled) {
  SetTextColor(dc, static_cast<COLORREF>(binding.Get("TextColor")));
  auto brush = binding.GetHandle<HBRUSH>("BackBrush");
  if (!brush) return 0;
  auto back = static_cast<COLORREF>(binding.Get("BackColor"));
  if (back == kTransparentColor) {
    SetBkMode(dc, TRANSPARENT);
  } else {
    SetBkColor(dc, back);
  }
  handled = true;
  return reinterpret_cast<LRESULT>(brush);
}

LRESULT Reflected(WindowBinding& binding, const WindowMessage& m, bool& handled) {
  if (m.id == WM_COMMAND && HIWORD(m.wParam) == 0) {
    handled = binding.Call(Event::OnClick, reinterpret_cast<HWND>(m.lParam), static_cast<short>(LOWORD(m.wParam)))
                  .has_value();
    return 0;
  }
  if (m.id >= WM_CTLCOLORMSGBOX && m.id <= WM_CTLCOLORSTATIC)
    return AnswerColors(binding, reinterpret_cast<HDC>(m.wParam), handled);
  return 0;
}

}  // namespace

const WindowLevel kControlRegionLevel{&kWindowObjectLevel, RegionMessage, nullptr, DeleteRegion};
// The brush goes with the binding as well as with the window.
const WindowLevel kControlWindowLevel{&kControlRegionLevel, ColorMessage, Reflected, DeleteBackBrush};
