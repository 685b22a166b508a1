// Owner of a window's device context taken with GetDC; a null window gives
// the screen DC.
#pragma once
#include <windows.h>

class WindowDC {
 public:
  explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }

  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};
