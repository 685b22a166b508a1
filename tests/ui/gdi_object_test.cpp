#include <gtest/gtest.h>

#include <optional>

#include "ui/fonts/font_object.h"
#include "ui/icons/icon_object.h"

namespace {

// Icons show when their binding frees them: a destroyed icon has no info.
bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return true;
}

HICON NewIcon() { return CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))); }  // IDI_APPLICATION

}  // namespace

TEST(GdiObject, CopiesShareOneBindingUntilTheLastGoes) {
  HICON icon = NewIcon();
  std::optional<IconObject> first(std::in_place);
  first->Adopt(icon);
  IconObject second = *first;
  EXPECT_EQ(second.Binding(), first->Binding());
  first.reset();
  EXPECT_TRUE(IconAlive(icon));
  EXPECT_EQ(second.Native(), icon);
  {
    IconObject third;
    third = second;
    third.SetHandle(3, 7);
  }
  EXPECT_EQ(second.GetHandle(3), 7);
  EXPECT_TRUE(IconAlive(icon));
  // A release through any copy frees the handle for all of them.
  IconObject fourth = second;
  fourth.Release();
  EXPECT_EQ(second.Native(), nullptr);
  EXPECT_FALSE(IconAlive(icon));
}

TEST(GdiObject, ShareBindingDropsTheOwnOneAndRefusesOtherClasses) {
  HICON dropped = NewIcon(), kept = NewIcon();
  {
    IconObject a, b;
    a.Adopt(dropped);
    b.Adopt(kept);
    EXPECT_TRUE(a.ShareBinding(b));
    EXPECT_FALSE(IconAlive(dropped));
    EXPECT_EQ(a.Native(), kept);
    EXPECT_TRUE(IconAlive(kept));

    FontObject font;
    GdiObject& asGdiObject = font;
    EXPECT_FALSE(asGdiObject.ShareBinding(a));
    EXPECT_NE(font.Binding(), a.Binding());
  }
  EXPECT_FALSE(IconAlive(kept));

  // Sharing the binding one holds alone keeps it.
  HICON alone = NewIcon();
  IconObject only;
  only.Adopt(alone);
  EXPECT_TRUE(only.ShareBinding(only));
  EXPECT_TRUE(IconAlive(alone));
}

TEST(GdiObject, SixteenHandleSlots) {
  FontObject font;
  for (int slot : {0, 15}) {
    font.SetHandle(slot, 100 + slot);
    EXPECT_EQ(font.GetHandle(slot), 100 + slot);
    EXPECT_EQ(*font.HandleAddress(slot), 100 + slot);
    EXPECT_EQ(font.Handles()[slot], 100 + slot);
  }
  font.SetHandle(0, 0);
  for (int slot : {-1, 16}) {
    font.SetHandle(slot, 1);
    EXPECT_EQ(font.GetHandle(slot), 0);
    EXPECT_EQ(font.HandleAddress(slot), nullptr);
  }
  EXPECT_EQ(*font.BindingAddress(), font.Binding());
}
