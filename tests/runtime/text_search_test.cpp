#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/text_search.h"

namespace {

std::vector<std::string> Elements(const TextArray& array) {
  std::vector<std::string> elements;
  for (size_t i = 0; i < array.size(); ++i) elements.push_back(array[i] ? array[i] : "<null>");
  return elements;
}

using Pieces = std::vector<std::string>;

}  // namespace

TEST(FindText, NullEmptyAndStartPositions) {
  EXPECT_EQ(FindText("abc", ""), 1);
  EXPECT_EQ(FindText("", "a"), -1);
  EXPECT_EQ(FindText(nullptr, ""), -1);
  EXPECT_EQ(FindText("abc", nullptr), -1);
  EXPECT_EQ(FindText("abcabc", "bc"), 2);
  EXPECT_EQ(FindText("abcabc", "bc", 3), 5);
  EXPECT_EQ(FindText("abcabc", "bc", 0), 2);
  EXPECT_EQ(FindText("abc", "c", 4), -1);
  EXPECT_EQ(FindText("abc", "abcd"), -1);
}

TEST(FindText, NeverMatchesOnTheSecondByteOfAPair) {
  // 丄 is 81 41: its second byte is an 'A'.
  EXPECT_EQ(FindText("丄", "A"), -1);
  EXPECT_EQ(FindText("丄A", "A"), 3);
  // 啊啊 is B0 A1 B0 A1: "A1 B0" lies across the two characters.
  EXPECT_EQ(FindText("啊啊", "\xA1\xB0"), -1);
  EXPECT_EQ(FindText("啊啊x", "啊x"), 3);
  // A start inside a character begins after it.
  EXPECT_EQ(FindText("中a中a", "a", 2), 3);
  EXPECT_EQ(FindText("中a中a", "a", 4), 6);
}

TEST(FindText, IgnoringCaseFoldsAsciiLettersOnly) {
  EXPECT_EQ(FindText("xxHeLLo", "hello", std::nullopt, true), 3);
  EXPECT_EQ(FindText("xxHeLLo", "hello"), -1);
  EXPECT_EQ(FindText("乤", "丄", std::nullopt, true), -1);
  EXPECT_EQ(FindText("A乤", "a乤", std::nullopt, true), 1);
}

TEST(FindTextReverse, LastMatchEndingBeforeTheStart) {
  EXPECT_EQ(FindTextReverse("abcabc", "bc"), 5);
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 7), 5);
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 6), 2);  // 5-6 does not end before 6
  EXPECT_EQ(FindTextReverse("abcabc", "ab", 3), 1);
  EXPECT_EQ(FindTextReverse("abcabc", "ab", 2), -1);
  EXPECT_EQ(FindTextReverse("abc", "a", 0), -1);
  EXPECT_EQ(FindTextReverse("abc", ""), 1);
  EXPECT_EQ(FindTextReverse("", ""), -1);
  EXPECT_EQ(FindTextReverse("abc", nullptr), -1);
  EXPECT_EQ(FindTextReverse("xABx", "ab", std::nullopt, true), 2);
  // The reverse search steps byte by byte, so it finds what spans characters.
  EXPECT_EQ(FindTextReverse("啊啊", "\xA1\xB0"), 2);
}

TEST(ReplaceText, CaseAndCount) {
  EXPECT_EQ(ReplaceText("aAa", "a", "b", std::nullopt, std::nullopt, false).view(), "bbb");
  EXPECT_EQ(ReplaceText("aAa", "a", "b", std::nullopt, std::nullopt, true).view(), "bAb");
  EXPECT_EQ(ReplaceText("aaaa", "a", "xy", std::nullopt, 2).view(), "xyxyaa");
  EXPECT_EQ(ReplaceText("a-b-c", "-", nullptr).view(), "abc");
  EXPECT_EQ(ReplaceText("a-b-c", "-", "<=>").view(), "a<=>b<=>c");
}

TEST(ReplaceText, EmptyInputsAndResults) {
  EXPECT_TRUE(ReplaceText(nullptr, "a", "b").IsNull());
  EXPECT_TRUE(ReplaceText("", "a", "b").IsNull());
  EXPECT_TRUE(ReplaceText("aaa", "a", nullptr).IsNull());
  EXPECT_EQ(ReplaceText("abc", "", "x").view(), "abc");
  EXPECT_EQ(ReplaceText("abc", nullptr, "x").view(), "abc");
  EXPECT_EQ(ReplaceText("abc", "b", "x", std::nullopt, 0).view(), "abc");
  EXPECT_EQ(ReplaceText("abc", "b", "x", 9).view(), "abc");
}

TEST(ReplaceText, StartStepsOverTwoByteCharacters) {
  EXPECT_EQ(ReplaceText("中a中a", "a", "b", 2).view(), "中b中b");
  EXPECT_EQ(ReplaceText("aaa", "a", "b", 2).view(), "abb");
  EXPECT_EQ(ReplaceText("丄A", "A", "b").view(), "丄b");
  EXPECT_EQ(ReplaceText("啊啊", "\xA1\xB0", "x").view(), "啊啊");
}

TEST(SplitText, NullPiecesAndNoTrailingElement) {
  EXPECT_EQ(Elements(SplitText("a,,b,")), (Pieces{"a", "<null>", "b"}));
  EXPECT_EQ(Elements(SplitText(",a")), (Pieces{"<null>", "a"}));
  EXPECT_EQ(Elements(SplitText("a=>b=>c", "=>")), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(Elements(SplitText("a,b,c", std::nullopt, 2)), (Pieces{"a", "b"}));
  EXPECT_EQ(Elements(SplitText("a,b", std::nullopt, 3)), (Pieces{"a", "b"}));
}

TEST(SplitText, EmptyCases) {
  auto expectEmptyArray = [](const TextArray& array) {
    ASSERT_NE(array.block(), nullptr);
    EXPECT_EQ(static_cast<const int32_t*>(array.block())[0], 1);
    EXPECT_EQ(array.size(), 0u);
  };
  expectEmptyArray(SplitText(nullptr));
  expectEmptyArray(SplitText(""));
  expectEmptyArray(SplitText("a,b", std::nullopt, 0));
  EXPECT_EQ(Elements(SplitText("a,b", "")), (Pieces{"a,b"}));
  EXPECT_EQ(Elements(SplitText("a,b", nullptr)), (Pieces{"a,b"}));
}

TEST(SplitText, CutsOnlyAtCharacterStarts) {
  EXPECT_EQ(Elements(SplitText("丄A丄", "A")), (Pieces{"丄", "丄"}));
  EXPECT_EQ(Elements(SplitText("中,文", ",")), (Pieces{"中", "文"}));
}

// The block scans must agree with a plain walk over the characters for every
// alignment and for matches that straddle the 16-byte blocks.
TEST(FindText, AgreesWithACharacterWalkOnRandomTexts) {
  const std::string alphabet = "aAbB\xB0\xA1\x81\x41";
  std::mt19937 random(20240601);
  auto randomText = [&](size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    return text;
  };
  auto walk = [](const std::string& text, const std::string& find, bool ignoreCase) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t at = 0; at + find.size() <= text.size(); at += (text[at] & 0x80) ? 2 : 1) {
      bool same = true;
      bool second = false;
      for (size_t i = 0; i < find.size() && same; ++i) {
        same = text[at + i] == find[i] || (ignoreCase && !second && fold(text[at + i]) == fold(find[i]));
        second = !second && (find[i] & 0x80);
      }
      if (same) return static_cast<int>(at + 1);
    }
    return -1;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string text = randomText(1 + random() % 70);
    std::string find = randomText(1 + random() % 4);
    bool ignoreCase = random() % 2;
    ASSERT_EQ(FindText(text.c_str(), find.c_str(), std::nullopt, ignoreCase), walk(text, find, ignoreCase))
        << "round " << round;
  }
}
