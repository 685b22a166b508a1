// The native fonts of a window object.
#include "ui/core/window_object.h"
#include "ui/fonts/font_object.h"

// The new font is sent before the old one is deleted, so the window never
// holds a deleted font.
void WindowObject::SetFont(const FontObject& font) {
  HWND window = Handle();
  if (!IsWindow(window)) return;
  HFONT native = NativeFontForWindow(font, window).release();
  auto previous = binding_->GetHandle<HFONT>("hFont");
  binding_->Set("hFont", reinterpret_cast<INT_PTR>(native));
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(native), TRUE);
  if (previous) DeleteObject(previous);
}

FontObject WindowObject::GetFont() const {
  FontObject font;
  if (auto native = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0))) font.CreateFromNativeFont(native);
  return font;
}
