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
