// GraphicsObject: a GDI+ graphics, freed with GdipDeleteGraphics.
#pragma once
#include "ui/fonts/gdi_object.h"
#include "ui/fonts/gdiplus_api.h"

class GraphicsObject : public GdiHandleObject<Gdiplus::GpGraphics*, &Gdiplus::DllExports::GdipDeleteGraphics> {
 public:
  // Draws on `dc`, which must outlive the graphics (GdipCreateFromHDC).
  bool CreateFromDC(HDC dc);
};
