// Owners of a window's device contexts, released with ReleaseDC: WindowDC
// for the client area (GetDC; a null window gives the screen DC) and
// WholeWindowDC for the whole window with its frame (GetWindowDC).
#pragma once
#include <windows.h>

template <auto Take>
class BasicWindowDC {
 public:
  explicit BasicWindowDC(HWND window) noexcept : window_(window), dc_(Take(window)) {}
  BasicWindowDC(const BasicWindowDC&) = delete;
  BasicWindowDC& operator=(const BasicWindowDC&) = delete;
  ~BasicWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }

  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

using WindowDC = BasicWindowDC<&GetDC>;
using WholeWindowDC = BasicWindowDC<&GetWindowDC>;
