#include <gtest/gtest.h>

#include "http/cookies.h"
#include "http/header_block.h"
#include "http/header_completion.h"
#include "http/http_method.h"
#include "http/text_items.h"

TEST(HttpMethod, OutOfRangeIndexesAreGet) {
  EXPECT_STREQ(HttpVerb(HttpMethodOf(7)), "CONNECT");
  EXPECT_STREQ(HttpVerb(HttpMethodOf(1)), "POST");
  EXPECT_STREQ(HttpVerb(HttpMethodOf(8)), "GET");
  EXPECT_STREQ(HttpVerb(HttpMethodOf(-1)), "GET");
}

TEST(NormaliseHeaderBlock, CapitalisesNamesAndDropsLinesWithoutColon) {
  EXPECT_EQ(NormaliseHeaderBlock("user-agent: x\r\nreferer:y\r\nnoise\r\n").view(), "User-Agent: x\r\nReferer:y");
  EXPECT_EQ(NormaliseHeaderBlock("x-requested-with:XMLHttpRequest").view(), "X-Requested-With:XMLHttpRequest");
  EXPECT_EQ(NormaliseHeaderBlock("ACCEPT: a\r\n\r\ncontent-type: b").view(), "ACCEPT: a\r\nContent-Type: b");
  EXPECT_EQ(NormaliseHeaderBlock("host: a:8080").view(), "Host: a:8080");
  EXPECT_TRUE(NormaliseHeaderBlock("").IsNull());
  EXPECT_TRUE(NormaliseHeaderBlock("garbage\r\n\r\n").IsNull());
}

TEST(NormaliseHeaderBlock, OddDashesKeepTheLineLength) {
  EXPECT_EQ(NormaliseHeaderBlock("x-: 1").view(), "X-: 1");
  EXPECT_EQ(NormaliseHeaderBlock("-a--b: 1").view(), "-A--B: 1");
  EXPECT_EQ(NormaliseHeaderBlock(": empty name").view(), ": empty name");
}

TEST(CapitaliseFirst, RaisesOnlyTheFirstByte) {
  EXPECT_EQ(CapitaliseFirst("aBc").view(), "ABc");
  EXPECT_EQ(CapitaliseFirst("1a").view(), "1a");
  EXPECT_EQ(CapitaliseFirst("中文").view(), "中文");
  EXPECT_TRUE(CapitaliseFirst("").IsNull());
}

// The agent InternetOpenA is given (the request itself carries the caller's
// line, so this is the only place it shows).
TEST(UserAgentOf, TheValueOfTheCallersLineElseTheDefault) {
  const struct {
    const char* block;
    const char* agent;
  } cases[] = {
      {"", DefaultUserAgent},
      {"User-Agent: Agent X/1.0", "Agent X/1.0"},
      {"accept: */*\r\nuser-agent:  Agent Y \r\nReferer: r", "Agent Y"},  // not "*/*\r\nuser-agent: ..."
      {"Accept: */*\r\nUser-Agent:", DefaultUserAgent},
      {"Accept: */*", DefaultUserAgent},
  };
  for (const auto& test : cases) EXPECT_EQ(UserAgentOf(Text::Copy(test.block)).view(), test.agent) << test.block;
}

TEST(HeaderNameAndValue, TrimAroundTheFirstColon) {
  EXPECT_EQ(HeaderName(" Accept : */*").view(), "Accept");
  EXPECT_EQ(HeaderValue(" Accept : */*").view(), "*/*");
  EXPECT_EQ(HeaderValue("Host: a:8080").view(), "a:8080");
  EXPECT_TRUE(HeaderName("noise").IsNull());
  EXPECT_TRUE(HeaderValue("noise").IsNull());
}

TEST(CollectResponseCookies, TakesTheFirstPairOfExactSetCookieLines) {
  const char* headers =
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nset-cookie: c=3\r\n"
      "X-Set-Cookie: d=4\r\nSet-Cookie:e=5\r\n\r\n";
  EXPECT_EQ(CollectResponseCookies(headers).view(), "a=1; b=2");
  EXPECT_TRUE(CollectResponseCookies("HTTP/1.1 200 OK\r\n\r\n").IsNull());
  EXPECT_TRUE(CollectResponseCookies(nullptr).IsNull());
}

TEST(MergeCookies, ReceivedWinAndLeadAndTheSentVariableHoldsTheResult) {
  Text sent = Text::Copy("a=1; b=2");
  Text received = Text::Copy("b=3; c=4");
  EXPECT_EQ(MergeCookies(sent, received).view(), "b=3; c=4; a=1");
  EXPECT_EQ(sent.view(), "b=3; c=4; a=1");
}

TEST(MergeCookies, DeletedCookiesDisappear) {
  Text sent = Text::Copy("a=1; b=2");
  Text received = Text::Copy("a=deleted");
  EXPECT_EQ(MergeCookies(sent, received).view(), "b=2");
}

TEST(MergeCookies, TrailingSemicolonsAndEmptyTexts) {
  Text sent = Text::Copy("  a=1;");
  Text received;
  EXPECT_EQ(MergeCookies(sent, received).view(), "a=1");
  Text none;
  Text nothing;
  EXPECT_TRUE(MergeCookies(none, nothing).IsNull());
  EXPECT_TRUE(none.IsNull());
}

TEST(MergeCookies, DuplicatesAndSameNamesCollapse) {
  Text sent = Text::Copy("a=1; a=2; b=1; b=1");
  Text received = Text::Copy("c=1; c=1");
  EXPECT_EQ(MergeCookies(sent, received).view(), "c=1; a=1; b=1");
}

TEST(CookieName, TrimmedNameOrWholeItem) {
  EXPECT_EQ(CookieName(" a =1").view(), "a");
  EXPECT_EQ(CookieName(" flag ").view(), "flag");
  EXPECT_TRUE(CookieName("=x").IsNull());
  const char* items[] = {"a=1", "b =2"};
  EXPECT_TRUE(HasCookieNamed(items, "b"));
  EXPECT_FALSE(HasCookieNamed(items, "c"));
}

TEST(DedupeItems, KeepsFirstOccurrences) {
  EXPECT_EQ(DedupeItems("a=1; b=2; a=1", "; ").view(), "a=1; b=2");
  EXPECT_EQ(DedupeItems("a,,b,,a", ",").view(), "a,,b");  // empty items are equal to each other
  EXPECT_TRUE(DedupeItems(nullptr, "; ").IsNull());
  const char* items[] = {"x", nullptr, "y"};
  EXPECT_EQ(IndexOfText(items, "y"), 3);
  EXPECT_EQ(IndexOfText(items, ""), 2);
  EXPECT_EQ(IndexOfText(items, "z"), -1);
}
