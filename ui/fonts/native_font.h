// Owners of native GDI fonts and brushes; deleted with DeleteObject.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
using NativeFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using NativeBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
