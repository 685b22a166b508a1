#include <gtest/gtest.h>

#include <thread>

#include "script/regex_object.h"

namespace {

TEST(RegexObject, DefaultsIgnoreCaseWorkPerLineAndFindAll) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("^ab$", "AB\nab\nabc"));
  EXPECT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.MatchText(1).view(), "AB");
  EXPECT_EQ(regex.MatchText(2).view(), "ab");

  ASSERT_TRUE(regex.Search("^ab$", "AB\nab\nabc", true));
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.MatchText(1).view(), "ab");
  ASSERT_TRUE(regex.Search("^ab", "AB\nab", {}, false));
  EXPECT_EQ(regex.MatchCount(), 1);
  ASSERT_TRUE(regex.Search("ab", "AB\nab", {}, {}, false));
  EXPECT_EQ(regex.MatchCount(), 1);
}

TEST(RegexObject, PlaceholderStandsForADoubleQuote) {
  const char* page = "<div class=\"n\" id=\"f\">文件.zip</div>";
  RegexObject quoted, placeholder, literal;
  ASSERT_TRUE(quoted.Search("id=\"(.*?)\">(.*?)<", page));
  ASSERT_TRUE(placeholder.Search("id=#引号(.*?)#引号>(.*?)<", page, {}, {}, {}, true));
  EXPECT_EQ(placeholder.GetPattern().view(), "id=\"(.*?)\">(.*?)<");
  EXPECT_EQ(placeholder.MatchText(1).view(), quoted.MatchText(1).view());
  EXPECT_EQ(placeholder.SubmatchText(1, 2).view(), "文件.zip");
  EXPECT_EQ(quoted.SubmatchText(1, 2).view(), "文件.zip");
  // Without the flag the placeholder is matched as it is written.
  ASSERT_TRUE(literal.Search("id=#引号", page));
  EXPECT_EQ(literal.MatchCount(), 0);
}

TEST(RegexObject, NoMatchGivesNullZeroAndNotFound) {
  RegexObject regex;
  EXPECT_TRUE(regex.GetPattern().IsNull());
  EXPECT_EQ(regex.MatchCount(), 0);
  ASSERT_TRUE(regex.Search("z+", "abc"));
  EXPECT_EQ(regex.MatchCount(), 0);
  int position = 7;
  EXPECT_TRUE(regex.MatchText(1, &position).IsNull());
  EXPECT_EQ(position, -2);
  EXPECT_TRUE(regex.SubmatchText(1, 1, &position).IsNull());
  EXPECT_EQ(position, -2);
  EXPECT_EQ(regex.SubMatchCount(), 0);
}

TEST(RegexObject, BadPatternGivesFalse) {
  RegexObject regex;
  EXPECT_FALSE(regex.Search("(", "abc"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_TRUE(regex.MatchText(1).IsNull());
  EXPECT_TRUE(regex.Search(nullptr, nullptr));  // null counts as empty
}

TEST(RegexObject, PositionsAreByteOffsetsInTheGbkSubject) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("abc|x", "中文abc中x"));
  int position = 0;
  EXPECT_EQ(regex.MatchText(1, &position).view(), "abc");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(regex.MatchText(2, &position).view(), "x");
  EXPECT_EQ(position, 9);
  // The character index (2) lands inside the first two-byte character;
  // the offset is still exact.
  ASSERT_TRUE(regex.Search("中b", "a中中b"));
  EXPECT_EQ(regex.MatchText(1, &position).view(), "中b");
  EXPECT_EQ(position, 3);
  // A search for the match text from the character index would stop at the
  // first "x" here; the offset is that of the second match.
  ASSERT_TRUE(regex.Search("x", "中文x x"));
  EXPECT_EQ(regex.MatchText(2, &position).view(), "x");
  EXPECT_EQ(position, 6);
  // An empty match has an offset too.
  ASSERT_TRUE(regex.Search("$", "中文", {}, {}, false));
  EXPECT_TRUE(regex.MatchText(1, &position).IsNull());
  EXPECT_EQ(position, 4);
}

TEST(RegexObject, SubmatchesAndTheirOffsets) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("([^市和]+)(市)", "北京市和上海市"));
  EXPECT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.SubMatchCount(), 2);
  int position = 0;
  EXPECT_EQ(regex.SubmatchText(2, 1, &position).view(), "上海");
  EXPECT_EQ(position, 8);
  EXPECT_EQ(regex.SubmatchText(2, 2, &position).view(), "市");
  EXPECT_EQ(position, 12);
  EXPECT_TRUE(regex.SubmatchText(2, 3, &position).IsNull());
  EXPECT_EQ(position, -2);
  EXPECT_TRUE(regex.SubmatchText(3, 1).IsNull());
}

TEST(RegexObject, ReplacesMatchesOfTheLastSearch) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("市", "北京市和上海市"));
  EXPECT_EQ(regex.ReplaceMatches("城").view(), "北京城和上海城");
  ASSERT_TRUE(regex.Search("(\\d+)元", "价格12元"));
  EXPECT_EQ(regex.ReplaceMatches("$1块").view(), "价格12块");
  EXPECT_EQ(regex.ReplaceMatches(nullptr).view(), "价格");
  EXPECT_EQ(regex.MatchText(1).view(), "12元");
  EXPECT_EQ(regex.GetPattern().view(), "(\\d+)元");
}

TEST(RegexObject, CloneKeepsItsOwnSearch) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("a", "aaa"));
  RegexObject copy = regex.Clone();
  ASSERT_TRUE(regex.Search("b", "b"));
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(copy.MatchCount(), 3);
  EXPECT_EQ(copy.GetPattern().view(), "a");
  EXPECT_EQ(copy.ReplaceMatches("x").view(), "xxx");
}

TEST(RegexObject, BalancesItsComInitialisation) {
  HRESULT afterwards = E_FAIL;
  std::thread([&] {
    {
      RegexObject regex;
      EXPECT_TRUE(regex.Search("a", "a"));
    }
    // A thread still in the single-threaded apartment could not change mode.
    afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(afterwards)) CoUninitialize();
  }).join();
  EXPECT_EQ(afterwards, S_OK);
}

}  // namespace
