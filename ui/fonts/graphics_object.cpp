#include "ui/fonts/graphics_object.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

bool GraphicsObject::CreateFromDC(HDC dc) {
  return Remake([&](GpGraphics** graphics) { return GdipCreateFromHDC(dc, graphics) == Ok; });
}
