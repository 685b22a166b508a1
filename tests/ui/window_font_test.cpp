#include "ui/core/window_object.h"
#include "ui/fonts/font_object.h"
#include "ui_test_support.h"

// Each window gets a native font of its own, which it deletes when the next
// font comes and when it is destroyed.
TEST_F(WindowTest, EachWindowOwnsTheNativeFontMadeForIt) {
  FontObject font;
  ASSERT_TRUE(font.CreateFontFromName("WenQuanYi Micro Hei", 12, 0, Gdiplus::UnitWorld));
  HWND host = CreateHost();
  WindowObject first, second;
  ASSERT_TRUE(first.AttachHandle(CreateChild(host, L"Edit", L"", 1)));
  ASSERT_TRUE(second.AttachHandle(CreateChild(host, L"Edit", L"", 2)));
  auto nativeFont = [](const WindowObject& window) { return reinterpret_cast<HGDIOBJ>(window.GetProperty("hFont")); };

  first.SetFont(font);
  second.SetFont(font);
  HGDIOBJ firstFont = nativeFont(first), secondFont = nativeFont(second);
  ASSERT_NE(firstFont, nullptr);
  EXPECT_NE(firstFont, secondFont);
  EXPECT_EQ(first.Send(WM_GETFONT), reinterpret_cast<LRESULT>(firstFont));
  EXPECT_STREQ(second.GetFont().LogFontW()->lfFaceName, L"WenQuanYi Micro Hei");

  first.SetFont(font);
  EXPECT_EQ(GetObjectType(firstFont), 0u);
  HGDIOBJ replacement = nativeFont(first);
  EXPECT_EQ(GetObjectType(replacement), static_cast<DWORD>(OBJ_FONT));

  DestroyWindow(first.Handle());
  EXPECT_EQ(GetObjectType(replacement), 0u);
  EXPECT_FALSE(first.HasProperty("hFont"));
  EXPECT_EQ(GetObjectType(secondFont), static_cast<DWORD>(OBJ_FONT));
}
