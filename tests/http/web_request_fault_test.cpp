#include <gtest/gtest.h>
#include <winsock2.h>

#include "support/server_test.h"
#include "http/web_request.h"

namespace {

class WebRequestFaultTest : public ServerTest {};

TEST_F(WebRequestFaultTest, UnusableUrlsGiveAnEmptyBodyAndLeaveTheOutValuesAlone) {
  // A control character in a URL to a live server would reach it as part
  // of the request; such a URL is malformed.
  for (const std::string& url : std::vector<std::string>{"", std::string("garbage ::// \r\n"), "http://127.0.0.1:0/",
                                                         "http://127.0.0.1:99999/", "http://127.0.0.1:-5/",
                                                         server().HttpUrl("/s\r\nX-Injected: 1"),
                                                         server().HttpUrl("/s\x01")}) {
    Text headers = Text::Copy("untouched");
    Text cookies = Text::Copy("untouched");
    EXPECT_TRUE(WebRequest(url, {.returnedCookies = cookies, .returnedHeaders = headers}).empty()) << url;
    EXPECT_EQ(headers.view(), "untouched") << url;
    EXPECT_EQ(cookies.view(), "untouched") << url;
  }
  EXPECT_TRUE(server().Requests().empty());
}

TEST_F(WebRequestFaultTest, UnreachableServersGiveEmptyResults) {
  const std::string urls[] = {"http://zorvo-share.invalid/s/1", "https://zorvo-share.invalid/",
                              "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/"};
  for (const std::string& url : urls) {
    Text headers = Text::Copy("old");
    Text returnedCookies = Text::Copy("old");
    Text cookies = Text::Copy("a=1;");
    EXPECT_TRUE(
        WebRequest(url, {.cookies = cookies, .returnedCookies = returnedCookies, .returnedHeaders = headers}).empty())
        << url;
    EXPECT_TRUE(headers.IsNull()) << url;
    EXPECT_EQ(returnedCookies.view(), "a=1") << url;  // the sent cookies, cleaned by merging
  }
}

TEST_F(WebRequestFaultTest, ABodyCutShortOfItsDeclaredLengthIsNoBody) {
  server().Script({.path = "/cut", .bodySize = 100000, .closeAfter = 5000});
  Text headers;
  EXPECT_TRUE(WebRequest(server().HttpUrl("/cut"), {.returnedHeaders = headers}).empty());
  EXPECT_TRUE(headers.view().starts_with("HTTP/1.1 200 OK\r\n"));  // the response itself did arrive
}

TEST_F(WebRequestFaultTest, AHeadAnswerDeclaresALengthWithoutABody) {
  server().Script({.path = "/head", .bodySize = 1000});
  Text headers;
  EXPECT_TRUE(WebRequest(server().HttpUrl("/head"), {.method = 2, .returnedHeaders = headers}).empty());
  EXPECT_NE(headers.view().find("Content-Length: 1000\r\n"), std::string_view::npos);
  EXPECT_EQ(server().Requests().at(0).requestLine, "HEAD /head HTTP/1.1");
}

TEST_F(WebRequestFaultTest, AHeaderBlockLargerThanTheUsualBufferStillComesBackWithItsCookies) {
  const std::string filler(2000, 'f');
  server().Script({.path = "/big-head",
                   .headers = {"X-A: " + filler, "X-B: " + filler, "X-C: " + filler, "Set-Cookie: late=1"},
                   .body = "body"});
  Text headers;
  Text cookies;
  EXPECT_EQ(WebRequest(server().HttpUrl("/big-head"), {.returnedCookies = cookies, .returnedHeaders = headers}).view(),
            "body");
  EXPECT_GT(headers.size(), 6000u);
  EXPECT_TRUE(headers.view().ends_with("\r\n\r\n"));
  EXPECT_EQ(cookies.view(), "late=1");
}

TEST_F(WebRequestFaultTest, ASlowServerIsWaitedFor) {
  server().Script({.path = "/slow", .body = "late", .delaySeconds = 1.5});
  EXPECT_EQ(WebRequest(server().HttpUrl("/slow")).view(), "late");
}

}  // namespace
