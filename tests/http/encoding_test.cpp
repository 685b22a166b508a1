#include <gtest/gtest.h>
#include <windows.h>

#include "http/base64.h"
#include "http/code_page.h"

namespace {
Bytes BytesOf(std::string_view text) { return Bytes::Copy(text); }
}  // namespace

TEST(Base64Encode, PadsTheLastGroup) {
  EXPECT_EQ(Base64Encode(BytesOf("abc")).view(), "YWJj");
  EXPECT_EQ(Base64Encode(BytesOf("ab")).view(), "YWI=");
  EXPECT_EQ(Base64Encode(BytesOf("a")).view(), "YQ==");
  EXPECT_TRUE(Base64Encode(Bytes()).IsNull());
  EXPECT_EQ(Base64Encode(BytesOf("user:pass")).view(), "dXNlcjpwYXNz");
  EXPECT_EQ(Base64Encode(BytesOf(std::string_view("\xFF\xFE\x00\xFB\xEF", 5))).view(), "//4A++8=");
}

TEST(Utf8BytesToText, ChineseBecomesGbk) {
  Text text = Utf8BytesToText(BytesOf("\xE4\xB8\xAD\xE6\x96\x87"));  // the UTF-8 of 中文
  EXPECT_EQ(text.view(), "中文");
  EXPECT_EQ(text.size(), 4u);
  EXPECT_EQ(Utf8BytesToText(BytesOf("a\xE4\xB8\xAD"
                                    "b"))
                .view(),
            "a中b");
  EXPECT_TRUE(Utf8BytesToText(Bytes()).IsNull());
}

TEST(Utf8BytesToText, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(Utf8BytesToText(BytesOf(std::string_view("ab\0cd", 5))).view(), "ab");
  EXPECT_TRUE(Utf8BytesToText(BytesOf(std::string_view("\0ab", 3))).IsNull());
}

TEST(Utf8BytesToText, CharactersOutsideGbkBecomeTheDefaultCharacter) {
  Text text = Utf8BytesToText(BytesOf("x\xF0\x9F\x98\x80y"));  // an emoji GBK cannot hold
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.view().front(), 'x');
  EXPECT_EQ(text.view().back(), 'y');
  EXPECT_EQ(text.view().find('\xF0'), std::string_view::npos);
}

// The one-pass conversion, slice by slice, gives what converting the whole
// text through UTF-16 gives, invalid sequences cut at any point included.
TEST(Utf8BytesToText, SlicesConvertExactlyLikeTheWholeText) {
  std::string mixed;
  for (int i = 0; i < 200; ++i) mixed += "a\xE4\xB8\xAD\xF0\x9F\x98\x80\xC3\xA9\x80";
  const std::string inputs[] = {
      "\xE4\xB8\xAD\xE6\x96\x87" "abc\xE4\xB8\xAD",
      "\x80\x80\x80\x80\x80\x80" "a\xBF",              // stray continuation bytes
      "ab\xE4\xB8" "z\xE4\xB8",                         // sequences cut short, inside and at the end
      "\xC0\xAF\xC1\xBF\xE0\x80\xAF\xF0\x80\x80\xAF",  // overlong forms
      "\xED\xA0\x80\xED\xB0\x80" "x\xED\xBF\xBF",       // surrogates written as UTF-8
      "\xF4\x90\x80\x80\xF8\x88\x80\x80\x80\xFF\xFE",    // beyond U+10FFFF, bytes never used
      "ab\xE4\xB8\xAD\x80\x80\x80" "c\xF0\x9F\x98\x80\x80\x80",  // whole characters, then stray bytes
      mixed};
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input.substr(0, 24));
    const Text whole = Utf16BytesToText(MultiByteToUtf16Bytes(BytesOf(input), CP_UTF8), 936);
    ASSERT_FALSE(whole.empty());
    EXPECT_EQ(Utf8BytesToText(BytesOf(input)).view(), whole.view());
    for (size_t slice = 4; slice <= 9; ++slice) EXPECT_EQ(Utf8ToText(input, slice).view(), whole.view()) << slice;
  }
}

TEST(MultiByteToUtf16Bytes, KeepsTheTerminatorUnit) {
  Bytes wide = MultiByteToUtf16Bytes(BytesOf("中a"), 936);
  EXPECT_EQ(wide.view(), std::string_view("\x2D\x4E"
                                          "a\0\0\0",
                                          6));
  EXPECT_TRUE(MultiByteToUtf16Bytes(Bytes(), 936).block() == nullptr);
}

TEST(Utf16ToMultiByteBytes, DropsTheTerminatorAndConvertsInAnyCodePage) {
  Bytes wide = MultiByteToUtf16Bytes(BytesOf("中文"), 936);
  EXPECT_EQ(Utf16ToMultiByteBytes(wide, CP_UTF8).view(), "\xE4\xB8\xAD\xE6\x96\x87");
  EXPECT_EQ(Utf16ToMultiByteBytes(wide, 936).view(), "中文");
  EXPECT_TRUE(Utf16ToMultiByteBytes(BytesOf(std::string_view("\0\0a\0", 4)), 936).block() == nullptr);
}

TEST(Utf16ToMultiByteBytes, AnOddTrailingByteIsAWholeUnit) {
  EXPECT_EQ(Utf16ToMultiByteBytes(BytesOf(std::string_view("a\0b", 3)), 936).view(), "ab");
}

TEST(Utf16BytesToText, DefaultsAndCodePageZeroMeanGbk) {
  Bytes wide = MultiByteToUtf16Bytes(BytesOf("\xE4\xB8\xAD"), CP_UTF8);
  EXPECT_EQ(Utf16BytesToText(wide).view(), "中");
  EXPECT_EQ(Utf16BytesToText(wide, CP_ACP).view(), "中");
  EXPECT_EQ(MultiByteToUtf16Bytes(BytesOf("中"), CP_ACP).view(), wide.view());
}
