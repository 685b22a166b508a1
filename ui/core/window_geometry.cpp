// Geometry, order, visibility and native styles of a window object.
#include "ui/core/window_object.h"

RECT WindowObject::ClientRect() const {
  RECT rect{};
  GetClientRect(Handle(), &rect);
  return rect;
}

namespace {
int WidthOf(const RECT& rect) { return rect.right - rect.left; }
int HeightOf(const RECT& rect) { return rect.bottom - rect.top; }
}  // namespace

int WindowObject::ClientWidth() const { return WidthOf(ClientRect()); }

int WindowObject::ClientHeight() const { return HeightOf(ClientRect()); }

// Only a child has a parent's client area to be placed in; the owner of a
// popup does not count.
RECT WindowObject::RectInParent() const {
  RECT rect = ScreenRect();
  HWND window = Handle();
  if (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool WindowObject::Move(int x, int y, int width, int height, bool repaint) {
  return MoveWindow(Handle(), x, y, width, height, repaint);
}

bool WindowObject::SetPosition(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  return SetWindowPos(Handle(), insertAfter, x, y, width, height, flags);
}

RECT WindowObject::ScreenRect() const {
  RECT rect{};
  GetWindowRect(Handle(), &rect);
  return rect;
}

int WindowObject::Width() const { return WidthOf(ScreenRect()); }

int WindowObject::Height() const { return HeightOf(ScreenRect()); }

bool WindowObject::SetLeft(int left) { return Move(left, Top(), Width(), Height()); }

bool WindowObject::SetTop(int top) { return Move(Left(), top, Width(), Height()); }

bool WindowObject::SetWidth(int width) { return Move(Left(), Top(), width, Height()); }

bool WindowObject::SetHeight(int height) { return Move(Left(), Top(), Width(), height); }

bool WindowObject::SetZOrder(std::optional<int> position) {
  static const HWND kOrder[] = {HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST};
  int index = position.value_or(1);
  if (index < 1 || index > 4) index = 1;
  return SetWindowPos(Handle(), kOrder[index - 1], 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

bool WindowObject::Visible(std::optional<bool> visible) {
  bool was = IsWindowVisible(Handle());
  if (visible) ShowWindow(Handle(), *visible ? SW_SHOW : SW_HIDE);
  return was;
}

bool WindowObject::Enabled(std::optional<bool> enabled) {
  bool was = IsWindowEnabled(Handle());
  if (enabled) EnableWindow(Handle(), *enabled);
  return was;
}

DWORD WindowObject::ChangeLong(int index, DWORD set, DWORD keep) {
  HWND window = Handle();
  auto previous = static_cast<DWORD>(GetWindowLongW(window, index));
  SetWindowLongW(window, index, static_cast<LONG>((previous & keep) | set));
  RedrawFrame(window);
  return previous;
}

void RedrawFrame(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
