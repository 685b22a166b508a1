// WebRequestObject against the recording server, through the platform's
// request object.
#include "http/web_request_object.h"

#include <gtest/gtest.h>

#include "http/header_completion.h"
#include "support/server_test.h"
#include "support/trust_at_start.h"

namespace {

class WebRequestObjectTest : public ServerTest {};

ULONGLONG MillisecondsSince(ULONGLONG start) { return GetTickCount64() - start; }

TEST_F(WebRequestObjectTest, AGetSendsTheStandardLinesInOrderAndReturnsTheResponse) {
  Serve("/page", "hello", {"X-Answer: yes"});
  const std::string url = server().HttpUrl("/page?q=1");
  Text headers;
  int32_t status = 0;
  EXPECT_EQ(WebRequestObject(url, {.returnedHeaders = headers, .statusCode = status}).view(), "hello");
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "GET /page?q=1 HTTP/1.1");
  EXPECT_TRUE(HoldsInOrder(request.headerLines, {"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
                                                 std::string("User-Agent: ") + DefaultUserAgent}));
  EXPECT_EQ(request.HeaderCount("User-Agent"), 1u);
  EXPECT_EQ(request.HeaderCount("Content-Type"), 0u);
  EXPECT_EQ(request.HeaderCount("Cookie"), 0u);
  EXPECT_TRUE(request.body.empty());
  EXPECT_EQ(status, 200);
  EXPECT_TRUE(headers.view().starts_with("HTTP/1.1 200 OK\r\n")) << headers.view();
  EXPECT_NE(headers.view().find("X-Answer: yes\r\n"), std::string_view::npos) << headers.view();
}

TEST_F(WebRequestObjectTest, StatusAndBodyOfAnErrorAnswerAreReturned) {
  server().Script({.path = "/gone", .status = 404, .reason = "Not Found", .body = "no such page"});
  int32_t status = 0;
  EXPECT_EQ(WebRequestObject(server().HttpUrl("/gone"), {.statusCode = status}).view(), "no such page");
  EXPECT_EQ(status, 404);
}

TEST_F(WebRequestObjectTest, APostCarriesTheFormBodyAndItsContentType) {
  Serve("/form", "done");
  EXPECT_EQ(WebRequestObject(server().HttpUrl("/form"), {.method = 1, .body = "a=1&b=2"}).view(), "done");
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "POST /form HTTP/1.1");
  EXPECT_EQ(request.body, "a=1&b=2");
  EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");

  server().Reset();
  Serve("/form", "done");
  WebRequestObject(server().HttpUrl("/form"), {.method = 1, .body = "x", .extraHeaders = "content-type: text/plain"});
  EXPECT_EQ(Received().Header("Content-Type"), "text/plain");
}

// (A GET hands its body to the object too, but Wine's object sends no body
// with a GET.)
TEST_F(WebRequestObjectTest, ByteBodiesTravelExactly) {
  Serve("/upload", "ok");
  const std::string_view binary("\x00\x01\xFF\r\n\x80", 6);
  const Bytes bodyBytes = Bytes::Copy(binary);
  WebRequestObject(server().HttpUrl("/upload"), {.method = 3, .body = "ignored", .bodyBytes = bodyBytes});
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "PUT /upload HTTP/1.1");
  EXPECT_EQ(request.body, binary);
  EXPECT_EQ(bodyBytes.view(), binary);
}

TEST_F(WebRequestObjectTest, KeepAliveIsDroppedOnlyWhenNormalised) {
  Serve("/page", "x");
  WebRequestObject(server().HttpUrl("/page"), {.extraHeaders = "connection: keep-alive\r\nx-one: 1"});
  RecordedRequest request = Received();
  EXPECT_EQ(request.Header("X-One"), "1");
  for (const std::string& line : request.headerLines) EXPECT_NE(line, "Connection: keep-alive");

  server().Reset();
  Serve("/page", "x");
  WebRequestObject(server().HttpUrl("/page"),
                   {.extraHeaders = "connection: keep-alive\r\nx-one: 1", .normaliseHeaders = false});
  request = Received();
  EXPECT_EQ(request.Header("x-one"), "1");
  EXPECT_EQ(request.Header("Connection"), "keep-alive");
}

TEST_F(WebRequestObjectTest, CookiesGivenOrNot) {
  Serve("/login", "x", {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2", "set-cookie: c=3"});
  Text cookies = Text::Copy("Cookie: b=0; z=9");
  Text returnedCookies;
  WebRequestObject(server().HttpUrl("/login"), {.cookies = cookies, .returnedCookies = returnedCookies});
  EXPECT_EQ(Received().Header("Cookie"), "b=0; z=9");
  EXPECT_EQ(returnedCookies.view(), "a=1; b=2; z=9");
  EXPECT_EQ(cookies.view(), "a=1; b=2; z=9");

  server().Reset();
  Serve("/login", "x", {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"});
  Text empty;
  Text unmerged;
  WebRequestObject(server().HttpUrl("/login"),
                   {.cookies = empty, .returnedCookies = unmerged, .mergeCookies = false});
  RecordedRequest request = Received();
  EXPECT_LE(request.HeaderCount("Cookie"), 1u);
  EXPECT_EQ(request.Header("Cookie").value_or(""), "");
  EXPECT_EQ(unmerged.view(), "a=1; b=2");
  EXPECT_TRUE(empty.IsNull());

  server().Reset();
  Serve("/login", "x");
  Text fresh;
  WebRequestObject(server().HttpUrl("/login"), {.returnedCookies = fresh});
  EXPECT_EQ(Received().HeaderCount("Cookie"), 0u);
  EXPECT_TRUE(fresh.IsNull());
}

TEST_F(WebRequestObjectTest, RedirectsAreFollowedUnlessTurnedOff) {
  ServeRedirect("/from", "/to");
  Serve("/to", "arrived");
  const std::string url = server().HttpUrl("/from");
  int32_t status = 0;
  EXPECT_EQ(WebRequestObject(url, {.statusCode = status}).view(), "arrived");
  EXPECT_EQ(status, 200);
  EXPECT_EQ(server().Requests().size(), 2u);

  Text headers;
  EXPECT_EQ(WebRequestObject(url, {.returnedHeaders = headers, .statusCode = status, .noRedirect = true}).view(),
            "moved");
  EXPECT_EQ(status, 302);
  EXPECT_NE(headers.view().find("Location: /to\r\n"), std::string_view::npos) << headers.view();
  EXPECT_EQ(server().Requests().size(), 3u);
}

// Wine's object ignores SetProxy and goes straight to the server, so the
// first request recorded is either what the proxy received or the direct one.
TEST_F(WebRequestObjectTest, ProxyCredentialsTravelAsBasicAuthorisation) {
  Serve("/via", "proxied");
  const std::string url = "http://localhost:" + std::to_string(server().httpPort()) + "/via";
  const std::string proxy = "127.0.0.1:" + std::to_string(server().httpPort());
  EXPECT_EQ(WebRequestObject(url, {.proxy = proxy, .proxyUser = "user", .proxyPassword = "p:ss"}).view(), "proxied");
  std::vector<RecordedRequest> requests = server().Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].HeaderCount("Proxy-Authorization"), 1u);
  EXPECT_EQ(requests[0].Header("Proxy-Authorization"), "Basic dXNlcjpwOnNz");
  EXPECT_EQ(requests.back().requestLine, "GET /via HTTP/1.1");
}

TEST_F(WebRequestObjectTest, HttpsToATrustedCertificate) {
  ASSERT_TRUE(LocalCertificateTrusted());
  Serve("/secure", "secret");
  const std::string url = server().HttpsUrl("/secure", "localhost");
  int32_t status = 0;
  EXPECT_EQ(WebRequestObject(url, {.statusCode = status}).view(), "secret");
  EXPECT_EQ(status, 200);
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "GET /secure HTTP/1.1");
  EXPECT_EQ(request.Header("Referer"), url);
}

TEST_F(WebRequestObjectTest, AServerSlowerThanTheTimeoutGivesNothingPromptly) {
  server().Script({.path = "/slow", .body = "late", .delaySeconds = 4});
  Text headers = Text::Copy("old");
  int32_t status = -1;
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(WebRequestObject(server().HttpUrl("/slow"),
                               {.returnedHeaders = headers, .statusCode = status, .timeoutSeconds = 1}).empty());
  EXPECT_LT(MillisecondsSince(start), 3000u);
  EXPECT_TRUE(headers.IsNull());
  EXPECT_EQ(status, 0);
}

TEST_F(WebRequestObjectTest, UnusableOrUnreachableUrlsGiveEmptyResults) {
  const std::string urls[] = {"", "garbage ::// \r\n", "http://127.0.0.1:0/", "http://127.0.0.1:99999/",
                              "http://127.0.0.1:-5/", "http://zorvo-share.invalid/s/1", "ftp://127.0.0.1/",
                              "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/",
                              server().HttpUrl("/s\r\nX-Injected: 1"), server().HttpUrl("/s\x01")};
  for (const std::string& url : urls) {
    Text headers = Text::Copy("old");
    Text cookies = Text::Copy("a=1;");
    Text returnedCookies = Text::Copy("old");
    int32_t status = -1;
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(WebRequestObject(url, {.cookies = cookies, .returnedCookies = returnedCookies,
                                       .returnedHeaders = headers, .statusCode = status}).empty()) << url;
    EXPECT_LT(MillisecondsSince(start), 5000u) << url;
    EXPECT_TRUE(headers.IsNull()) << url;
    EXPECT_EQ(status, 0) << url;
    EXPECT_EQ(returnedCookies.view(), "a=1") << url;  // the sent cookies, cleaned by merging
  }
  EXPECT_TRUE(server().Requests().empty());
}

}  // namespace
