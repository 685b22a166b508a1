// FontFamilyObject and FontCollectionObject: a GDI+ font family and the
// private collection it may come from.
#pragma once
#include <string>

#include "ui/fonts/gdi_object.h"
#include "ui/fonts/gdiplus_api.h"

// GdipDeletePrivateFontCollection takes the handle's address.
inline void DeletePrivateFontCollection(Gdiplus::GpFontCollection* collection) {
  Gdiplus::DllExports::GdipDeletePrivateFontCollection(&collection);
}

// Holds no collection unless one is adopted; families made with an empty
// one come from the installed fonts.
class FontCollectionObject : public GdiHandleObject<Gdiplus::GpFontCollection*, &DeletePrivateFontCollection> {};

class FontFamilyObject : public GdiHandleObject<Gdiplus::GpFontFamily*, &Gdiplus::DllExports::GdipDeleteFontFamily> {
 public:
  // GdipCreateFontFamilyFromName; fails for a family that is not there.
  bool CreateFromName(const wchar_t* name, const FontCollectionObject& collection);
  // The family's name in the neutral language; empty without a family.
  std::wstring Name() const;
};
