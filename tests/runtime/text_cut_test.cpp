#include <gtest/gtest.h>

#include "runtime/text_cut.h"
#include "runtime/text_make.h"

TEST(CutText, LeftRightMid) {
  EXPECT_EQ(LeftText("abc", 2).view(), "ab");
  EXPECT_EQ(LeftText("abc", 9).view(), "abc");
  EXPECT_TRUE(LeftText("abc", 0).IsNull());
  EXPECT_TRUE(LeftText(nullptr, 3).IsNull());
  EXPECT_EQ(RightText("abc", 2).view(), "bc");
  EXPECT_EQ(RightText("abc", 9).view(), "abc");
  EXPECT_TRUE(RightText("abc", -1).IsNull());
  EXPECT_EQ(MidText("abcdef", 5, 10).view(), "ef");
  EXPECT_TRUE(MidText("abc", 4, 1).IsNull());
  EXPECT_EQ(MidText("abc", 3, 1).view(), "c");
  EXPECT_TRUE(MidText("abc", 0, 1).IsNull());
  // Cuts by count ignore character pairs.
  EXPECT_EQ(LeftText("中文", 1).view(), "\xD6");
}

TEST(TrimText, AsciiAndFullWidthSpacesOnly) {
  EXPECT_EQ(TrimText("  　a b　 ").view(), "a b");
  EXPECT_EQ(TrimText("\tx ").view(), "\tx");
  EXPECT_TRUE(TrimText(" 　 ").IsNull());
  EXPECT_TRUE(TrimText(nullptr).IsNull());
  // 啊 (B0 A1) then a lone A1: the last two bytes are A1 A1 but no space.
  EXPECT_EQ(TrimText("啊\xA1").view(), "啊\xA1");
  EXPECT_EQ(TrimText("啊　").view(), "啊");
}

TEST(CharCodeAt, SignExtendedByte) {
  EXPECT_EQ(CharCodeAt("abc"), 'a');
  EXPECT_EQ(CharCodeAt("abc", 3), 'c');
  EXPECT_EQ(CharCodeAt("中"), static_cast<signed char>(0xD6));
  EXPECT_EQ(CharCodeAt("abc", 4), 0);
  EXPECT_EQ(CharCodeAt("abc", 0), 0);
  EXPECT_EQ(CharCodeAt(nullptr), 0);
}

TEST(MakeText, SpacesCharsCopiesAndCase) {
  EXPECT_EQ(SpaceText(3).view(), "   ");
  EXPECT_TRUE(SpaceText(0).IsNull());
  EXPECT_EQ(CharText(0x141).view(), "A");
  EXPECT_TRUE(CharText(0x100).IsNull());
  EXPECT_TRUE(CopyText("").IsNull());
  EXPECT_EQ(CopyText("中").view(), "中");
  // 丄 (81 41) keeps its second byte although it reads as 'A'.
  EXPECT_EQ(LowerText("AbC丄Z").view(), "abc丄z");
  EXPECT_EQ(UpperText("abc乤z").view(), "ABC乤Z");
  EXPECT_TRUE(UpperText("").IsNull());
}
