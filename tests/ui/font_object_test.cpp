#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/fonts/device_context.h"
#include "ui/fonts/font_object.h"

namespace {

// The test prefix has no Segoe UI; WenQuanYi Micro Hei comes with the
// project's packages and is a TrueType face every run has.
constexpr char kInstalledFace[] = "WenQuanYi Micro Hei";
constexpr wchar_t kInstalledFaceW[] = L"WenQuanYi Micro Hei";

LONG NativeHeight(const NativeFont& font) {
  LOGFONTW logFont{};
  return font && GetObjectW(font.get(), sizeof logFont, &logFont) ? logFont.lfHeight : 0;
}

}  // namespace

TEST(CreateFontFromName, InstalledFacesOnlySizedInTheGivenUnit) {
  struct Row {
    const char* name;
    bool utf16;
    float size;
    Gdiplus::Unit unit;
    LONG nativeHeight;  // 0: no font
  };
  // One object through every row: each creation replaces or clears the last.
  const Row rows[] = {
      {kInstalledFace, false, 12, Gdiplus::UnitWorld, -12},  // world units, not points
      {"Zorvo Missing Face", false, 12, Gdiplus::UnitWorld, 0},
      {kInstalledFace, true, 12, Gdiplus::UnitPoint, -16},  // at 96 DPI
      {"", false, 12, Gdiplus::UnitWorld, 0},
      {kInstalledFace, true, 20, Gdiplus::UnitPixel, -20},
      {nullptr, false, 12, Gdiplus::UnitWorld, 0},
  };
  FontObject font;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << (row.name ? row.name : "null") << " " << row.size << " unit " << row.unit);
    std::wstring wide(row.name, row.name + (row.name ? std::strlen(row.name) : 0));
    bool made = row.utf16 ? font.CreateFontFromName(wide.c_str(), row.size, 0, row.unit)
                          : font.CreateFontFromName(row.name, row.size, 0, row.unit);
    EXPECT_EQ(made, row.nativeHeight != 0);
    EXPECT_EQ(font.Native() != nullptr, made);
    EXPECT_EQ(NativeHeight(font.ToNativeFont()), row.nativeHeight);
    if (made) {
      EXPECT_EQ(font.GetFamily().Name(), kInstalledFaceW);
    }
  }
}

TEST(FontObject, CreationRoutesKeepTheSourceFont) {
  LOGFONTW sourceW{};
  LOGFONTA sourceA{};
  sourceW.lfHeight = sourceA.lfHeight = -16;
  std::wcscpy(sourceW.lfFaceName, kInstalledFaceW);
  std::strcpy(sourceA.lfFaceName, kInstalledFace);
  NativeFont native(CreateFontIndirectW(&sourceW));
  FontObject source;
  ASSERT_TRUE(source.CreateFromLogFont(sourceW));
  WindowDC screen(nullptr);
  HGDIOBJ screenFont = SelectObject(screen.get(), native.get());

  FontObject routes[6];
  EXPECT_TRUE(routes[0].CreateFromLogFont(sourceW, screen.get()));
  EXPECT_TRUE(routes[1].CreateFromLogFont(sourceA));
  EXPECT_TRUE(routes[2].CreateFromNativeFont(native.get()));
  EXPECT_TRUE(routes[3].CreateFromDC(screen.get()));
  EXPECT_TRUE(routes[4].CreateFromFamily(source.GetFamily(), 16, 0, Gdiplus::UnitPixel));
  routes[5] = source.Clone();
  EXPECT_NE(routes[5].Native(), source.Native());
  SelectObject(screen.get(), screenFont);
  for (const FontObject& route : routes) {
    std::optional<LOGFONTA> logFont = route.LogFontA();
    ASSERT_TRUE(logFont) << &route - routes;
    EXPECT_EQ(logFont->lfHeight, -16) << &route - routes;
    EXPECT_STREQ(logFont->lfFaceName, kInstalledFace) << &route - routes;
  }

  // Anything but a font is refused rather than read as a LOGFONT.
  FontObject font;
  ASSERT_TRUE(font.CreateFromDefaultGuiFont());
  EXPECT_FALSE(font.CreateFromNativeFont(static_cast<HFONT>(GetStockObject(WHITE_BRUSH))));
  EXPECT_EQ(font.Native(), nullptr);
}
