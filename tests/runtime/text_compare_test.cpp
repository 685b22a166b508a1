#include <gtest/gtest.h>

#include "runtime/text_compare.h"

TEST(ConcatTexts, AlwaysReturnsABlockEvenForNullParts) {
  Text joined = ConcatTexts({nullptr, nullptr, nullptr});
  EXPECT_FALSE(joined.IsNull());
  EXPECT_STREQ(joined.get(), "");
  EXPECT_EQ(ConcatTexts({"中", nullptr, "", "文ab"}).view(), "中文ab");
  EXPECT_FALSE(ConcatTexts({}).IsNull());
}

TEST(CompareTexts, NullIsTheEmptyTextAndBytesAreUnsigned) {
  EXPECT_EQ(CompareTexts(nullptr, ""), 0);
  EXPECT_EQ(CompareTexts(nullptr, nullptr), 0);
  EXPECT_EQ(CompareTexts(nullptr, "a"), -1);
  EXPECT_EQ(CompareTexts("a", nullptr), 1);
  EXPECT_EQ(CompareTexts("abc", "abd"), -1);
  EXPECT_EQ(CompareTexts("ab", "abc"), -1);
  EXPECT_EQ(CompareTexts("中", "z"), 1);  // 0xD6 orders after 'z'
}

TEST(CompareTextsCase, FoldsOnlySingleByteLetters) {
  EXPECT_EQ(CompareTextsCase("ABC", "abc", false), 0);
  EXPECT_EQ(CompareTextsCase("ABC", "abc", true), -1);
  EXPECT_EQ(CompareTextsCase("abd", "ABC", false), 1);
  EXPECT_EQ(CompareTextsCase(nullptr, "", false), 0);
  EXPECT_EQ(CompareTextsCase("a", nullptr, false), 1);
  // 丄 (81 41) and 乤 (81 61) differ only in a second byte that looks like a letter.
  EXPECT_NE(CompareTextsCase("丄", "乤", false), 0);
  EXPECT_EQ(CompareTextsCase("x丄Y", "X丄y", false), 0);
}

TEST(TextStartsWith, NeedsTwoNonEmptyTexts) {
  EXPECT_TRUE(TextStartsWith("中文abc", "中文"));
  EXPECT_FALSE(TextStartsWith("abc", "ABC"));
  EXPECT_FALSE(TextStartsWith("abc", ""));
  EXPECT_FALSE(TextStartsWith(nullptr, "a"));
  EXPECT_FALSE(TextStartsWith("ab", "abc"));
}
