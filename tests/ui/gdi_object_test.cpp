#include <gtest/gtest.h>

#include <optional>

#include "ui/fonts/font_object.h"
#include "ui/icons/icon_object.h"
#include "ui_test_support.h"

TEST(GdiObject, CopiesShareOneBindingThatTheLastFrees) {
  std::optional<IconObject> first = ApplicationIcon();
  std::optional<IconObject> second = *first;
  HICON icon = first->Native();
  IconObject third;
  third = *second;
  third.SetHandle(15, 7);
  EXPECT_EQ(first->GetHandle(15), 7);
  first.reset();
  second.reset();
  EXPECT_TRUE(IconAlive(icon));
  third = ApplicationIcon();  // the last reference goes
  EXPECT_FALSE(IconAlive(icon));

  // A release through any copy frees the handle for all of them.
  IconObject fourth = third;
  icon = third.Native();
  fourth.Release();
  EXPECT_EQ(third.Native(), nullptr);
  EXPECT_FALSE(IconAlive(icon));

  // Slots outside 0-15 read as 0 and take no writes.
  third.SetHandle(16, 1);
  EXPECT_EQ(third.GetHandle(16) + third.GetHandle(-1), 0);
  EXPECT_EQ(third.HandleAddress(16), nullptr);
}

TEST(GdiObject, ShareBindingDropsTheOwnOneAndRefusesOtherClasses) {
  IconObject a = ApplicationIcon(), b = ApplicationIcon();
  HICON dropped = a.Native(), kept = b.Native();
  EXPECT_TRUE(a.ShareBinding(b));
  EXPECT_FALSE(IconAlive(dropped));
  EXPECT_EQ(a.Native(), kept);
  b = ApplicationIcon();
  EXPECT_TRUE(a.ShareBinding(a));  // its own binding, held alone: kept
  EXPECT_TRUE(IconAlive(kept));

  FontObject font;
  GdiObject& asGdiObject = font;
  EXPECT_FALSE(asGdiObject.ShareBinding(a));
  EXPECT_NE(font.Binding(), a.Binding());
}
