// FontObject: a GDI+ font, freed with GdipDeleteFont, and the native GDI
// fonts derived from it. GDI+ must have been started.
//
// Every creation frees the font held first; on failure the object holds no
// font. Release, the GDI+ handle and adopting a handle come from
// GdiHandleObject.
#pragma once
#include <optional>

#include "ui/fonts/font_family.h"
#include "ui/fonts/gdi_object.h"
#include "ui/fonts/gdiplus_api.h"
#include "ui/fonts/graphics_object.h"
#include "ui/fonts/native_font.h"

class FontObject : public GdiHandleObject<Gdiplus::GpFont*, &Gdiplus::DllExports::GdipDeleteFont> {
 public:
  using REAL = Gdiplus::REAL;
  using Unit = Gdiplus::Unit;

  bool CreateFromFamily(const FontFamilyObject& family, REAL size, INT style, Unit unit);
  // The stock DEFAULT_GUI_FONT on `dc`, or on the screen DC without one.
  bool CreateFromDefaultGuiFont(HDC dc = nullptr);
  // Family `name` among the installed fonts; size, style bits and unit go
  // to GDI+ unchanged (size 12 with unit 0 is 12 world units, not points).
  // The text form is GBK.
  bool CreateFontFromName(const char* name, REAL size, INT style, Unit unit);
  bool CreateFontFromName(const wchar_t* name, REAL size, INT style, Unit unit);
  // The font selected into `dc`.
  bool CreateFromDC(HDC dc);
  // Fails for a handle that is not a font.
  bool CreateFromNativeFont(HFONT font, HDC dc = nullptr);
  // On `dc`, or on the screen DC without one.
  bool CreateFromLogFont(const LOGFONTA& logFont, HDC dc = nullptr);
  bool CreateFromLogFont(const LOGFONTW& logFont, HDC dc = nullptr);
  // A new object with its own copy of the font.
  FontObject Clone() const;

  // A new native font, owned by the caller, that GDI+ reports for this font
  // on `graphics` (on a graphics of the screen DC without one); null on
  // failure. Each call makes another native font.
  NativeFont ToNativeFont(const GraphicsObject* graphics = nullptr) const;
  std::optional<LOGFONTA> LogFontA(const GraphicsObject* graphics = nullptr) const;
  std::optional<LOGFONTW> LogFontW(const GraphicsObject* graphics = nullptr) const;

  // The getters answer 0 (an empty family) when the object holds no font.
  FontFamilyObject GetFamily() const;
  INT GetStyle() const;
  REAL GetSize() const;
  Unit GetUnit() const;
  REAL GetHeight(const GraphicsObject* graphics) const;
  REAL GetHeightGivenDpi(REAL dpi) const;
};

// The native font for `window`: ToNativeFont on a graphics of the window's
// DC, which is released again before this returns.
NativeFont NativeFontForWindow(const FontObject& font, HWND window);
