#include <gtest/gtest.h>

#include "http/marker_text.h"
#include "http/url_parts.h"

TEST(TextBetween, CutsBetweenTheFirstLeftAndTheNextRightMarker) {
  EXPECT_EQ(TextBetween("a<b>c", "<", ">").view(), "b");
  EXPECT_EQ(TextBetween("a<b>c<d>", "<", ">").view(), "b");
  EXPECT_EQ(TextBetween("x>a<b>c", "<", ">").view(), "b");  // a right marker before the left one is no end
}

TEST(TextBetween, MissingOrAdjacentMarkersGiveNull) {
  EXPECT_TRUE(TextBetween("a<bc", "<", ">").IsNull());
  EXPECT_TRUE(TextBetween("ab>c", "<", ">").IsNull());
  EXPECT_TRUE(TextBetween("<>", "<", ">").IsNull());
  EXPECT_TRUE(TextBetween(nullptr, "<", ">").IsNull());
  EXPECT_TRUE(TextBetween("a<b>", "", ">").IsNull());
}

TEST(TextBetween, QuotePlaceholderStandsForADoubleQuote) {
  EXPECT_EQ(TextBetween("id=1 x=\"va lue\" y=2", "x=#引号", "#引号").view(), "va lue");
  EXPECT_EQ(TextBetween("k=\"#引号v\"", "k=#引号", "#引号").view(), "#引号v");  // only markers are rewritten
}

TEST(TextBetween, StartAndCaseFlag) {
  EXPECT_EQ(TextBetween("<a><b>", "<", ">", 2).view(), "b");
  EXPECT_EQ(TextBetween("<A>x</A>", "<a>", "</a>", std::nullopt, true).view(), "x");
  EXPECT_TRUE(TextBetween("<A>x</A>", "<a>", "</a>").IsNull());
  EXPECT_EQ(TextBetween("中<文>", "<", ">").view(), "文");
}

TEST(TextBefore, CutsBeforeTheFirstMarker) {
  EXPECT_EQ(TextBefore("Set-Cookie: a=1", ": ").view(), "Set-Cookie");
  EXPECT_TRUE(TextBefore("HTTP/1.1 200 OK", ": ").IsNull());
  EXPECT_TRUE(TextBefore(": x", ": ").IsNull());
  EXPECT_EQ(TextBefore("a: b: c", ": ").view(), "a");
}

TEST(HostOf, LowerCasesAndDropsOrKeepsThePort) {
  const char* url = "https://WWW.Example.COM:8443/A/b?X=1";
  EXPECT_EQ(HostOf(url).view(), "www.example.com");
  EXPECT_EQ(HostOf(url, true).view(), "www.example.com:8443");
  EXPECT_EQ(HostOf("http://Host").view(), "host");
  EXPECT_EQ(HostOf("host/path").view(), "host");
  EXPECT_EQ(HostOf("HTTP://h:81?q").view(), "h");
  EXPECT_TRUE(HostOf("").IsNull());
}

TEST(PortOf, NamedPortElseTheSchemeDefault) {
  EXPECT_EQ(PortOf("https://WWW.Example.COM:8443/A/b?X=1"), 8443);
  EXPECT_EQ(PortOf("https://example.com/x"), 443);
  EXPECT_EQ(PortOf("HTTPS://example.com"), 443);
  EXPECT_EQ(PortOf("http://example.com/x"), 80);
  EXPECT_EQ(PortOf("example.com"), 80);
  EXPECT_EQ(PortOf("example.com:8080/x"), 8080);
  EXPECT_EQ(PortOf("http://h:/x"), 0);
  EXPECT_EQ(PortOf("http://h:99999/"), 99999);
}

TEST(PathOf, KeepsQueryAndFragment) {
  EXPECT_EQ(PathOf("http://example.com").view(), "/");
  EXPECT_EQ(PathOf("http://example.com/a/b?x=1#f").view(), "/a/b?x=1#f");
  EXPECT_EQ(PathOf("https://HOST:8443/A?b").view(), "/A?b");
  EXPECT_EQ(PathOf("http://example.com?x=1").view(), "/");  // the query is not sent
  EXPECT_EQ(PathOf("example.com/p").view(), "/p");
}

TEST(PathOf, HostsThatOccurInsideTheSchemeAreFoundAfterIt) {
  EXPECT_EQ(PathOf("http://h/x").view(), "/x");
  EXPECT_EQ(PathOf("https://s/x").view(), "/x");
  EXPECT_EQ(PathOf("https://tp").view(), "/");
}
