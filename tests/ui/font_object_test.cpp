#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ui/fonts/device_context.h"
#include "ui/fonts/font_object.h"

using Gdiplus::Unit;

namespace {

// The test prefix has no Segoe UI; WenQuanYi Micro Hei is installed with the
// project's packages and is the one TrueType face every run has.
constexpr char kInstalledFace[] = "WenQuanYi Micro Hei";
constexpr wchar_t kInstalledFaceW[] = L"WenQuanYi Micro Hei";
constexpr char kMissingFace[] = "Zorvo Missing Face";

LOGFONTW NativeLogFont(HFONT font) {
  LOGFONTW logFont{};
  GetObjectW(font, sizeof logFont, &logFont);
  return logFont;
}

}  // namespace

TEST(CreateFontFromName, InstalledFacesOnlyAndSizesInTheGivenUnit) {
  struct Row {
    const char* what;
    std::function<bool(FontObject&)> create;
    LONG nativeHeight;  // 0: no font
  };
  // One object through every row: each creation replaces or clears the last.
  const Row rows[] = {
      {"12 world units are 12 pixels",
       [](FontObject& f) { return f.CreateFontFromName(kInstalledFace, 12, 0, Gdiplus::UnitWorld); }, -12},
      {"a missing face", [](FontObject& f) { return f.CreateFontFromName(kMissingFace, 12, 0, Gdiplus::UnitWorld); },
       0},
      {"12 points are 16 pixels at 96 DPI",
       [](FontObject& f) { return f.CreateFontFromName(kInstalledFaceW, 12, 0, Gdiplus::UnitPoint); }, -16},
      {"an empty name", [](FontObject& f) { return f.CreateFontFromName("", 12, 0, Gdiplus::UnitWorld); }, 0},
      {"UTF-16 name, pixels",
       [](FontObject& f) { return f.CreateFontFromName(kInstalledFaceW, 20, 0, Gdiplus::UnitPixel); }, -20},
      {"a null text", [](FontObject& f) { return f.CreateFontFromName(static_cast<const char*>(nullptr), 12, 0,
                                                                      Gdiplus::UnitWorld); },
       0},
  };
  FontObject font;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    bool made = row.nativeHeight != 0;
    EXPECT_EQ(row.create(font), made);
    EXPECT_EQ(font.Native() != nullptr, made);
    NativeFont native = font.ToNativeFont();
    ASSERT_EQ(native != nullptr, made);
    if (!made) continue;
    LOGFONTW logFont = NativeLogFont(native.get());
    EXPECT_EQ(logFont.lfHeight, row.nativeHeight);
    EXPECT_STREQ(logFont.lfFaceName, kInstalledFaceW);
  }
}

TEST(ToNativeFont, ANewNativeFontForEveryCallAndWindow) {
  FontObject font;
  ASSERT_TRUE(font.CreateFontFromName(kInstalledFace, 12, 0, Gdiplus::UnitWorld));
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 30, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  WindowDC screen(nullptr);
  GraphicsObject onScreen;
  ASSERT_TRUE(onScreen.CreateFromDC(screen.get()));

  NativeFont fonts[] = {font.ToNativeFont(), font.ToNativeFont(&onScreen), NativeFontForWindow(font, window),
                        NativeFontForWindow(font, window)};
  for (size_t i = 0; i < std::size(fonts); ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(fonts[i], nullptr);
    EXPECT_EQ(NativeLogFont(fonts[i].get()).lfHeight, -12);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(fonts[i].get(), fonts[j].get());
  }
  DestroyWindow(window);

  FontObject empty;
  EXPECT_EQ(empty.ToNativeFont(), nullptr);
  EXPECT_EQ(empty.ToNativeFont(&onScreen), nullptr);
  EXPECT_EQ(NativeFontForWindow(empty, nullptr), nullptr);
}

TEST(FontObject, EveryCreationRouteGivesTheSourceFont) {
  LOGFONTW sourceW{};
  sourceW.lfHeight = -16;
  wcscpy(sourceW.lfFaceName, kInstalledFaceW);
  LOGFONTA sourceA{};
  sourceA.lfHeight = -16;
  strcpy(sourceA.lfFaceName, kInstalledFace);
  NativeFont native(CreateFontIndirectW(&sourceW));
  FontObject source;
  ASSERT_TRUE(source.CreateFromLogFont(sourceW));
  WindowDC screen(nullptr);
  HGDIOBJ screenFont = SelectObject(screen.get(), native.get());

  struct Row {
    const char* what;
    std::function<bool(FontObject&)> create;
  };
  const Row rows[] = {
      {"LOGFONTW", [&](FontObject& f) { return f.CreateFromLogFont(sourceW, screen.get()); }},
      {"LOGFONTA", [&](FontObject& f) { return f.CreateFromLogFont(sourceA); }},
      {"native font", [&](FontObject& f) { return f.CreateFromNativeFont(native.get()); }},
      {"DC", [&](FontObject& f) { return f.CreateFromDC(screen.get()); }},
      {"family", [&](FontObject& f) { return f.CreateFromFamily(source.GetFamily(), 16, 0, Gdiplus::UnitPixel); }},
      {"clone",
       [&](FontObject& f) {
         f = source.Clone();
         return f.Native() && f.Native() != source.Native();
       }},
      {"adopted clone", [&](FontObject& f) {
         FontObject clone = source.Clone();
         f.Adopt(clone.Native());
         clone.SetHandle(0, 0);
         return true;
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FontObject font;
    ASSERT_TRUE(row.create(font));
    std::optional<LOGFONTW> logFont = font.LogFontW();
    ASSERT_TRUE(logFont);
    EXPECT_EQ(logFont->lfHeight, -16);
    EXPECT_STREQ(logFont->lfFaceName, kInstalledFaceW);
    std::optional<LOGFONTA> narrow = font.LogFontA();
    ASSERT_TRUE(narrow);
    EXPECT_STREQ(narrow->lfFaceName, kInstalledFace);
  }
  SelectObject(screen.get(), screenFont);

  // Anything but a font is refused rather than read as a zeroed LOGFONT.
  FontObject font;
  ASSERT_TRUE(font.CreateFromDefaultGuiFont());
  EXPECT_FALSE(font.CreateFromNativeFont(static_cast<HFONT>(GetStockObject(WHITE_BRUSH))));
  EXPECT_EQ(font.Native(), nullptr);
  EXPECT_FALSE(font.Clone().Native());
}

TEST(FontObject, MetricsOfAFontAndOfNone) {
  FontObject font;
  ASSERT_TRUE(font.CreateFontFromName(kInstalledFace, 10.5f, Gdiplus::FontStyleBold | Gdiplus::FontStyleItalic,
                                      Gdiplus::UnitPoint));
  EXPECT_EQ(font.GetFamily().Name(), kInstalledFaceW);
  EXPECT_EQ(font.GetStyle(), 3);
  EXPECT_EQ(font.GetSize(), 10.5f);
  EXPECT_EQ(font.GetUnit(), Gdiplus::UnitPoint);
  WindowDC screen(nullptr);
  GraphicsObject graphics;
  ASSERT_TRUE(graphics.CreateFromDC(screen.get()));
  float height = font.GetHeightGivenDpi(96);
  EXPECT_GT(height, 14.0f);  // a line is taller than the 14-pixel em
  EXPECT_FLOAT_EQ(font.GetHeightGivenDpi(192), 2 * height);
  EXPECT_FLOAT_EQ(font.GetHeight(&graphics), height);

  FontObject none;
  EXPECT_EQ(none.GetFamily().Native(), nullptr);
  EXPECT_EQ(none.GetStyle(), 0);
  EXPECT_EQ(none.GetSize(), 0);
  EXPECT_EQ(none.GetHeightGivenDpi(96), 0);
  EXPECT_EQ(none.GetHeight(&graphics), 0);
  EXPECT_FALSE(none.LogFontA());
}
