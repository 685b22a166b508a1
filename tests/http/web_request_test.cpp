#include "http/web_request.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/server_test.h"

namespace {

class WebRequestTest : public ServerTest {
 protected:
  static std::string FirstLineThroughTheProxy(const std::string& url);
};

TEST_F(WebRequestTest, GetSendsTheCompletedHeaderBlockAndTheDefaultAgent) {
  Serve("/page", "hello");
  const std::string url = server().HttpUrl("/page?q=1");
  EXPECT_EQ(WebRequest(url).view(), "hello");
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "GET /page?q=1 HTTP/1.1");
  EXPECT_TRUE(HoldsInOrder(request.headerLines, {"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn"}));
  EXPECT_EQ(request.Header("User-Agent"), DefaultUserAgent);
  EXPECT_EQ(request.HeaderCount("Content-Type"), 0u);
  EXPECT_EQ(request.HeaderCount("Cookie"), 0u);
  EXPECT_TRUE(request.body.empty());
}

TEST_F(WebRequestTest, CallerLinesAreNormalisedAndKeptAndOnlyMissingOnesAdded) {
  Serve("/page", "x");
  WebRequest(server().HttpUrl("/page"), {.extraHeaders = "accept: text/html\r\nx-requested-with: XMLHttpRequest\r\n"
                                                         "referer: http://elsewhere/\r\nnoise"});
  RecordedRequest request = Received();
  EXPECT_TRUE(HoldsInOrder(request.headerLines, {"Accept: text/html", "X-Requested-With: XMLHttpRequest",
                                                 "Referer: http://elsewhere/", "Accept-Language: zh-cn"}));
  EXPECT_EQ(request.HeaderCount("Accept"), 1u);
  EXPECT_EQ(request.HeaderCount("Referer"), 1u);
  EXPECT_EQ(request.HeaderCount("noise"), 0u);
}

TEST_F(WebRequestTest, WithoutCompletionOnlyTheCallerLinesGo) {
  Serve("/page", "x");
  WebRequest(server().HttpUrl("/page"), {.extraHeaders = "x-one: 1", .completeHeaders = false});
  RecordedRequest request = Received();
  EXPECT_EQ(request.Header("X-One"), "1");
  EXPECT_EQ(request.HeaderCount("Referer"), 0u);
  EXPECT_EQ(request.HeaderCount("Accept-Language"), 0u);
}

TEST_F(WebRequestTest, PostAddsContentTypeAndFillsTheCallersBodyBytesFromBody) {
  Serve("/form", "done");
  Bytes bodyBytes;
  EXPECT_EQ(WebRequest(server().HttpUrl("/form"), {.method = 1, .body = "a=1&b=2", .bodyBytes = bodyBytes}).view(),
            "done");
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "POST /form HTTP/1.1");
  EXPECT_EQ(request.body, "a=1&b=2");
  EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(bodyBytes.view(), "a=1&b=2");
}

TEST_F(WebRequestTest, BodyBytesWinOverBodyAndTravelExactly) {
  Serve("/upload", "ok");
  const std::string_view binary("\x00\x01\xFF\r\n\x80", 6);
  Bytes bodyBytes = Bytes::Copy(binary);
  WebRequest(server().HttpUrl("/upload"), {.method = 3,
                                           .body = "ignored",
                                           .extraHeaders = "Content-Type: application/octet-stream",
                                           .bodyBytes = bodyBytes});
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "PUT /upload HTTP/1.1");
  EXPECT_EQ(request.body, binary);
  EXPECT_EQ(request.HeaderCount("Content-Type"), 1u);
  EXPECT_EQ(bodyBytes.view(), binary);
}

TEST_F(WebRequestTest, AGetNeverSendsABody) {
  Serve("/page", "x");
  Bytes bodyBytes = Bytes::Copy("payload");
  WebRequest(server().HttpUrl("/page"), {.method = 8, .body = "a=1", .bodyBytes = bodyBytes});
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "GET /page HTTP/1.1");
  EXPECT_TRUE(request.body.empty());
  EXPECT_EQ(request.HeaderCount("Content-Type"), 0u);
  EXPECT_EQ(bodyBytes.view(), "payload");
}

TEST_F(WebRequestTest, TheAgentComesFromTheCallersUserAgentLine) {
  Serve("/page", "x");
  WebRequest(server().HttpUrl("/page"), {.extraHeaders = "accept: */*\r\nuser-agent: Agent X/1.0"});
  EXPECT_EQ(Received().Header("User-Agent"), "Agent X/1.0");

  server().Reset();
  Serve("/page", "x");
  WebRequest(server().HttpUrl("/page"),
             {.extraHeaders = "accept: */*\r\nuser-agent: Agent Y", .normaliseHeaders = false});
  EXPECT_EQ(Received().Header("User-Agent"), "Agent Y");
}

TEST_F(WebRequestTest, GivenCookiesTravelInOneCookieLine) {
  Serve("/page", "x");
  Text cookies = Text::Copy("a=1; b=2");
  WebRequest(server().HttpUrl("/page"), {.cookies = cookies});
  EXPECT_EQ(Received().Header("Cookie"), "a=1; b=2");

  server().Reset();
  Serve("/page", "x");
  Text prefixed = Text::Copy("Cookie: a=1");
  WebRequest(server().HttpUrl("/page"), {.cookies = prefixed});
  RecordedRequest request = Received();
  EXPECT_EQ(request.HeaderCount("Cookie"), 1u);
  EXPECT_EQ(request.Header("Cookie"), "a=1");
}

TEST_F(WebRequestTest, GivenCookiesEvenEmptyBypassTheStoreOfWinInet) {
  Serve("/jar/set", "x", {"Set-Cookie: stored=1; Path=/jar"});
  Serve("/jar/read", "x");
  WebRequest(server().HttpUrl("/jar/set"));  // not given: WinINet keeps the cookie
  WebRequest(server().HttpUrl("/jar/read"));
  Text empty;
  WebRequest(server().HttpUrl("/jar/read"), {.cookies = empty});
  Text own = Text::Copy("own=2");
  WebRequest(server().HttpUrl("/jar/read"), {.cookies = own});
  std::vector<RecordedRequest> requests = server().Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[1].Header("Cookie"), "stored=1");
  EXPECT_EQ(requests[2].HeaderCount("Cookie"), 0u);
  EXPECT_EQ(requests[3].HeaderCount("Cookie"), 1u);
  EXPECT_EQ(requests[3].Header("Cookie"), "own=2");
}

TEST_F(WebRequestTest, SetCookieLinesAreCollectedAndMergedIntoTheSentCookies) {
  const std::vector<std::string> setCookies = {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2", "set-cookie: c=3"};
  Serve("/login", "x", setCookies);
  Text cookies = Text::Copy("b=0; d=4");
  Text returnedCookies;
  Text returnedHeaders;
  WebRequest(server().HttpUrl("/login"),
             {.cookies = cookies, .returnedCookies = returnedCookies, .returnedHeaders = returnedHeaders});
  EXPECT_EQ(returnedCookies.view(), "a=1; b=2; d=4");
  EXPECT_EQ(cookies.view(), "a=1; b=2; d=4");
  EXPECT_TRUE(returnedHeaders.view().starts_with("HTTP/1.1 200 OK\r\n"));
  EXPECT_TRUE(returnedHeaders.view().ends_with("\r\n\r\n"));
  EXPECT_NE(returnedHeaders.view().find("\r\nset-cookie: c=3\r\n"), std::string_view::npos);
}

TEST_F(WebRequestTest, WithoutMergingOrSentCookiesOnlyTheResponseCookiesComeBack) {
  Serve("/login", "x", {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"});
  Text cookies = Text::Copy("b=0");
  Text returnedCookies;
  WebRequest(server().HttpUrl("/login"),
             {.cookies = cookies, .returnedCookies = returnedCookies, .mergeCookies = false});
  EXPECT_EQ(returnedCookies.view(), "a=1; b=2");
  EXPECT_EQ(cookies.view(), "b=0");

  Text fresh;
  WebRequest(server().HttpUrl("/login"), {.returnedCookies = fresh});
  EXPECT_EQ(fresh.view(), "a=1; b=2");
}

TEST_F(WebRequestTest, HttpsWithASelfSignedCertificateIsAccepted) {
  Serve("/secure", "secret");
  const std::string url = server().HttpsUrl("/secure");
  EXPECT_EQ(WebRequest(url).view(), "secret");
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "GET /secure HTTP/1.1");
  EXPECT_EQ(request.Header("Referer"), url);
}

TEST_F(WebRequestTest, HttpsNamesWrittenInCapitalsConnectToTheLowerCasedHost) {
  Serve("/a", "upper");
  std::string url = "HTTPS://LOCALHOST:" + std::to_string(server().httpsPort()) + "/a?b";
  EXPECT_EQ(WebRequest(url).view(), "upper");
  EXPECT_EQ(Received().requestLine, "GET /a?b HTTP/1.1");
}

// Fetches the URL through the server's own proxy; returns what the proxy
// received first, after checking that the request reached the origin.
std::string WebRequestTest::FirstLineThroughTheProxy(const std::string& url) {
  Serve("/via", "proxied");
  const std::string proxy = "127.0.0.1:" + std::to_string(server().httpPort());
  EXPECT_EQ(WebRequest(url, {.proxy = proxy}).view(), "proxied");
  std::vector<RecordedRequest> requests = server().Requests();
  EXPECT_EQ(requests.size(), 2u);
  if (requests.size() != 2) return {};
  EXPECT_EQ(requests[1].requestLine, "GET /via HTTP/1.1");  // what reached the origin
  return requests[0].requestLine;
}

TEST_F(WebRequestTest, APlainHttpRequestGoesThroughTheProxy) {
  const std::string url = "http://localhost:" + std::to_string(server().httpPort()) + "/via";
  EXPECT_EQ(FirstLineThroughTheProxy(url), "GET " + url + " HTTP/1.1");
}

TEST_F(WebRequestTest, AnHttpsRequestIsTunnelledThroughTheProxy) {
  const std::string origin = "localhost:" + std::to_string(server().httpsPort());
  EXPECT_EQ(FirstLineThroughTheProxy("https://" + origin + "/via"), "CONNECT " + origin + " HTTP/1.1");
}

TEST_F(WebRequestTest, RedirectsAreFollowedUnlessTurnedOff) {
  server().Script({.path = "/from", .status = 302, .reason = "Found", .headers = {"Location: /to"}, .body = "moved"});
  Serve("/to", "arrived");
  EXPECT_EQ(WebRequest(server().HttpUrl("/from")).view(), "arrived");
  EXPECT_EQ(server().Requests().size(), 2u);

  server().Reset();
  server().Script({.path = "/from", .status = 302, .reason = "Found", .headers = {"Location: /to"}, .body = "moved"});
  Text headers;
  EXPECT_EQ(WebRequest(server().HttpUrl("/from"), {.returnedHeaders = headers, .noRedirect = true}).view(), "moved");
  EXPECT_TRUE(headers.view().starts_with("HTTP/1.1 302 Found\r\n"));
  EXPECT_EQ(Received().requestLine, "GET /from HTTP/1.1");
}

TEST_F(WebRequestTest, LargeAndChunkedBodiesArriveWhole) {
  constexpr size_t kSize = 3 * 1024 * 1024 + 17;
  server().Script({.path = "/large", .bodySize = kSize});
  server().Script({.path = "/chunked", .bodySize = kSize, .chunked = true});
  for (const char* path : {"/large", "/chunked"}) {
    Bytes body = WebRequest(server().HttpUrl(path));
    ASSERT_EQ(body.size(), kSize) << path;
    bool intact = true;
    for (size_t i = 0; i < kSize; i += 4099)
      intact = intact && static_cast<char>(body.data()[i]) == GeneratedBodyByte(i);
    EXPECT_TRUE(intact) << path;
  }
}

TEST_F(WebRequestTest, AUrlWithoutSchemeIsPlainHttp) {
  Serve("/bare", "bare");
  EXPECT_EQ(WebRequest("127.0.0.1:" + std::to_string(server().httpPort()) + "/bare").view(), "bare");
}

}  // namespace
