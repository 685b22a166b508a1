#include "resolver/redirect_probe.h"

#include <gtest/gtest.h>

#include "runtime/com_scope.h"
#include "runtime/invoke_by_name.h"
#include "support/recording_object.h"
#include "support/server_test.h"
#include "support/test_dispatch.h"
#include "support/trust_at_start.h"

namespace {

class RedirectProbeTest : public ServerTest {};

ULONGLONG MillisecondsSince(ULONGLONG start) { return GetTickCount64() - start; }

TEST_F(RedirectProbeTest, TheLocationComesBackExactlyAsSentAndIsNotFollowed) {
  ServeRedirect("/relative", "/files/a%20b.zip?sig=x&e=1");
  Serve("/files/a%20b.zip", "the file");
  EXPECT_EQ(ProbeRedirect(server().HttpUrl("/relative")).view(), "/files/a%20b.zip?sig=x&e=1");
  RecordedRequest request = Received();  // one request: the redirect was not followed
  EXPECT_EQ(request.requestLine, "GET /relative HTTP/1.1");

  server().Reset();
  const std::string target = server().HttpUrl("/target?name=%E4%B8%AD");
  ServeRedirect("/absolute", target, 301);
  Serve("/target", "the file");
  EXPECT_EQ(ProbeRedirect(server().HttpUrl("/absolute")).view(), target);
  EXPECT_EQ(server().Requests().size(), 1u);
}

TEST_F(RedirectProbeTest, SendsOnlyItsFourLines) {
  ServeRedirect("/link", "http://download.zorvo.test/f");
  ProbeRedirect(server().HttpUrl("/link"));
  RecordedRequest request = Received();
  EXPECT_TRUE(HoldsInOrder(request.headerLines,
                           {"User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)",
                            "Accept-Language: zh-cn"}));
  EXPECT_EQ(request.Header("Connection"), "Keep-Alive");
  EXPECT_EQ(request.Header("Accept"),
            "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
            "application/x-silverlight, */*");
  EXPECT_EQ(request.HeaderCount("Cookie"), 0u);
  EXPECT_EQ(request.HeaderCount("Referer"), 0u);
  EXPECT_TRUE(request.body.empty());
}

TEST_F(RedirectProbeTest, AnAnswerWithoutLocationGivesNothing) {
  Serve("/direct", "the file itself");
  EXPECT_TRUE(ProbeRedirect(server().HttpUrl("/direct")).IsNull());
  server().Script({.path = "/empty", .status = 302, .headers = {"Location:"}});
  EXPECT_TRUE(ProbeRedirect(server().HttpUrl("/empty")).IsNull());
}

TEST_F(RedirectProbeTest, WorksOverHttps) {
  ASSERT_TRUE(LocalCertificateTrusted());
  ServeRedirect("/secure", "https://download.zorvo.test/f?x=1");
  EXPECT_EQ(ProbeRedirect(server().HttpsUrl("/secure", "localhost")).view(), "https://download.zorvo.test/f?x=1");
}

TEST_F(RedirectProbeTest, AServerSlowerThanTheTimeoutsGivesNothing) {
  server().Script({.path = "/slow", .status = 302, .headers = {"Location: /late"}, .delaySeconds = 7});
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(ProbeRedirect(server().HttpUrl("/slow")).IsNull());
  EXPECT_LT(MillisecondsSince(start), 6500u);
}

TEST_F(RedirectProbeTest, BadOrUnreachableLinksGiveNothing) {
  const std::string links[] = {"", "garbage ::// \r\n", "http://127.0.0.1:0/", "http://127.0.0.1:99999/",
                               "http://zorvo-download.invalid/f",
                               "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/",
                               server().HttpUrl("/s\r\nX-Injected: 1"), server().HttpUrl("/s\x01")};
  for (const std::string& link : links) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(ProbeRedirect(link).IsNull()) << link;
    EXPECT_LT(MillisecondsSince(start), 5000u) << link;
  }
  EXPECT_TRUE(server().Requests().empty());
}

class RedirectProbeCallsTest : public ::testing::Test {
 protected:
  RedirectProbeCallsTest() { CLSIDFromProgID(L"WinHttp.WinHttpRequest.5.1", &requestClass_); }

  ComScope com_;
  CLSID requestClass_{};
};

TEST_F(RedirectProbeCallsTest, CallsInOrderWithRedirectsAndTimeoutsSetAgainAfterOpen) {
  std::vector<RecordedCall> calls;
  ScopedClassObject recording(requestClass_, [&calls] {
    auto* object = new RecordingObject(calls);
    object->Answer("WaitForResponse", ArgOf(true));
    object->Answer("GetResponseHeader", ArgOf("/next"));
    return object;
  });
  EXPECT_EQ(ProbeRedirect("http://zorvo.test/d").view(), "/next");
  const RecordedCall noRedirects{"Option", DISPATCH_PROPERTYPUT, {"6", "0"}};
  const RecordedCall timeouts{"SetTimeouts", DISPATCH_METHOD, {"5000", "5000", "10000", "5000"}};
  const auto header = [](std::string name, std::string value) {
    return RecordedCall{"setRequestHeader", DISPATCH_METHOD, {std::move(name), std::move(value)}};
  };
  const std::vector<RecordedCall> expected{
      noRedirects,
      timeouts,
      {"open", DISPATCH_METHOD, {"GET", "http://zorvo.test/d", "true"}},  // asynchronous: the wait is bounded
      noRedirects,
      timeouts,
      header("User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)"),
      header("Accept-Language", "zh-cn"),
      header("Connection", "Keep-Alive"),
      header("Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                       "application/x-silverlight, */*"),
      {"send", DISPATCH_METHOD, {}},
      {"WaitForResponse", DISPATCH_METHOD, {"1"}},  // a second at a time: the headers suffice
      {"GetResponseHeader", DISPATCH_PROPERTYGET, {"Location"}}};
  EXPECT_EQ(calls, expected);
}

TEST_F(RedirectProbeCallsTest, ALinkNamingAnUnusablePortIsNotRequested) {
  std::vector<RecordedCall> calls;
  ScopedClassObject recording(requestClass_, [&calls] { return new RecordingObject(calls); });
  EXPECT_TRUE(ProbeRedirect("http://127.0.0.1:0/d").IsNull());
  EXPECT_TRUE(calls.empty());
}

TEST_F(RedirectProbeCallsTest, WithoutARequestObjectNothingIsSent) {
  ScopedClassObject unavailable(requestClass_, [] { return nullptr; });
  EXPECT_TRUE(ProbeRedirect("http://zorvo.test/d").IsNull());
}

}  // namespace
