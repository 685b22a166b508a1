// A control's text and background colours and its background brush.
#include "ui/controls/control_window.h"

namespace {

// Colours are stored as signed 32-bit values, so "no colour" is -1 on both
// builds.
INT_PTR StoredColor(COLORREF color) { return static_cast<LONG>(color); }

HBRUSH MakeBackBrush(COLORREF color) {
  if (color == kTransparentColor) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  return CreateSolidBrush(color);
}

void StoreBackBrush(WindowBinding& binding, HBRUSH brush) {
  binding.Set("BackBrush", reinterpret_cast<INT_PTR>(brush));
}

}  // namespace

void ControlWindow::ResetColors() {
  GetBinding()->FreeHandle<HBRUSH>("BackBrush", DeleteObject);
  SetProperty("BackColor", StoredColor(GetSysColor(COLOR_BTNFACE)));
  SetProperty("TextColor", 0);
  Invalidate();
}

INT_PTR ControlWindow::SetForeColor(std::optional<COLORREF> color) {
  if (!color) return GetProperty("TextColor");
  int stored = SetProperty("TextColor", StoredColor(*color));
  if (!HasProperty("BackBrush"))
    StoreBackBrush(*GetBinding(), MakeBackBrush(static_cast<COLORREF>(GetProperty("BackColor"))));
  Invalidate();
  return stored;
}

COLORREF ControlWindow::SetBackColor(std::optional<COLORREF> color) {
  auto previous = static_cast<COLORREF>(GetProperty("BackColor"));
  if (!color) return previous;
  GetBinding()->FreeHandle<HBRUSH>("BackBrush", DeleteObject);
  StoreBackBrush(*GetBinding(), MakeBackBrush(*color));
  SetProperty("BackColor", StoredColor(*color));
  Invalidate();
  return previous;
}
