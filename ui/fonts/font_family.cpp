#include "ui/fonts/font_family.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

bool FontFamilyObject::CreateFromName(const wchar_t* name, const FontCollectionObject& collection) {
  return Remake([&](GpFontFamily** family) {
    return GdipCreateFontFamilyFromName(name, collection.Native(), family) == Ok;
  });
}

std::wstring FontFamilyObject::Name() const {
  WCHAR name[LF_FACESIZE] = {};
  if (GdipGetFamilyName(Native(), name, LANG_NEUTRAL) != Ok) return {};
  return name;
}
