// The calls WebRequestObject makes on a request object, watched through a
// recording object passed as the caller's request object.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "http/header_completion.h"
#include "http/web_request_object.h"
#include "runtime/com_scope.h"
#include "runtime/invoke_by_name.h"
#include "support/recording_object.h"
#include "support/test_dispatch.h"

namespace {

constexpr WORD kMethod = DISPATCH_METHOD;
constexpr WORD kPut = DISPATCH_PROPERTYPUT;
constexpr WORD kGet = DISPATCH_PROPERTYGET;
constexpr const char* kUrl = "http://zorvo.test/page";

using Calls = std::vector<RecordedCall>;

RecordedCall Header(const std::string& name, const std::string& value) {
  return {"SetRequestHeader", kMethod, {name, value}};
}

RecordedCall Timeouts(const std::string& ms) { return {"SetTimeouts", kMethod, {ms, ms, ms, ms}}; }

const RecordedCall kIgnoreCertificateErrors{"Option", kPut, {"4", "13056"}};

// The wait for the whole answer, then the reads of the response.
// The body is read last, right before the object is let go, so that the
// object's copy of it and the caller's are not both held for long.
Calls AnswerRead(const std::string& waitSeconds) {
  return {{"WaitForResponse", kMethod, {waitSeconds}},
          {"GetAllResponseHeaders", kGet, {}},
          {"Status", kGet, {}},
          {"ResponseBody", kGet, {}}};
}

Calls Joined(Calls calls, const Calls& more) {
  calls.insert(calls.end(), more.begin(), more.end());
  return calls;
}

class WebRequestObjectCallsTest : public ::testing::Test {
 protected:
  WebRequestObjectCallsTest() : object_(new RecordingObject(calls_)) {
    holder_.Adopt(object_);
    object_->Answer("WaitForResponse", ArgOf(true));
  }

  // The calls of a request with the options; the recording object is the
  // request object. The log starts empty for each request.
  const Calls& Request(WebRequestObjectOptions options, std::string_view url = kUrl) {
    calls_.clear();
    options.requestObject = holder_;
    WebRequestObject(url, options);
    return calls_;
  }

  // Only the SetRequestHeader calls of a request.
  Calls HeadersOf(const WebRequestObjectOptions& options) {
    Calls headers;
    for (const RecordedCall& call : Request(options)) {
      if (call.name == "SetRequestHeader") headers.push_back(call);
    }
    return headers;
  }

  ComScope com_;
  Calls calls_;
  RecordingObject* object_;  // owned by holder_
  AutomationObject holder_;
};

TEST_F(WebRequestObjectCallsTest, EveryStepInItsOrder) {
  Text cookies = Text::Copy("Cookie: a=1");
  Text returnedCookies;
  int32_t status = -5;
  const Calls& calls = Request({.method = 1, .body = "x=1", .cookies = cookies, .returnedCookies = returnedCookies,
                                .extraHeaders = "x-one: 1\r\nconnection: keep-alive", .statusCode = status,
                                .noRedirect = true, .proxy = "127.0.0.1:8080", .timeoutSeconds = 30,
                                .proxyUser = "user", .proxyPassword = "pass"});
  Calls expected{Timeouts("30000"),
                 {"SetProxy", kMethod, {"2", "127.0.0.1:8080"}},
                 {"Open", kMethod, {"POST", kUrl, "true"}},  // asynchronous, so the wait can be bounded
                 Timeouts("30000"),  // again: Wine's object forgets them in Open
                 {"Option", kPut, {"6", "0"}},
                 kIgnoreCertificateErrors,
                 {"SetCredentials", kMethod, {"user", "pass", "1"}},
                 Header("Proxy-Authorization", "Basic dXNlcjpwYXNz"),
                 Header("Cookie", " a=1"),
                 Header("X-One", "1"),
                 Header("Accept", "*/*"),
                 Header("Referer", kUrl),
                 Header("Accept-Language", "zh-cn"),
                 Header("User-Agent", DefaultUserAgent),
                 Header("Content-Type", "application/x-www-form-urlencoded"),
                 {"Send", kMethod, {"x=1"}}};
  EXPECT_EQ(calls, Joined(expected, AnswerRead("30")));
  EXPECT_EQ(cookies.view(), "a=1");  // the prefix went, then merging trimmed it
  EXPECT_EQ(returnedCookies.view(), "a=1");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(object_->references(), 1u);  // the call let go of the caller's object
}

TEST_F(WebRequestObjectCallsTest, DefaultsMakeAPlainGet) {
  const Calls expected = Joined({Timeouts("15000"), {"Open", kMethod, {"GET", kUrl, "true"}}, Timeouts("15000"),
                                  kIgnoreCertificateErrors, Header("Accept", "*/*"), Header("Referer", kUrl),
                                  Header("Accept-Language", "zh-cn"), Header("User-Agent", DefaultUserAgent),
                                  {"Send", kMethod, {""}}},
                                 AnswerRead("15"));
  EXPECT_EQ(Request({}), expected);
  EXPECT_EQ(Request({.method = 9}), expected);
  EXPECT_EQ(Request({.method = -1, .timeoutSeconds = 0}), expected);
  EXPECT_EQ(Request({.method = 7}).at(1).args.at(0), "CONNECT");
}

TEST_F(WebRequestObjectCallsTest, TimeoutsInMillisecondsAndTheAnswerWaitedForInSeconds) {
  const auto waitOf = [](const Calls& calls) {
    return std::find_if(calls.begin(), calls.end(), [](const RecordedCall& call) {
             return call.name == "WaitForResponse";
           })->args.at(0);
  };
  EXPECT_EQ(Request({.timeoutSeconds = 1}).front(), Timeouts("1000"));
  EXPECT_EQ(waitOf(calls_), "1");
  EXPECT_EQ(Request({.timeoutSeconds = -7}).front(), Timeouts("15000"));
  EXPECT_EQ(Request({.timeoutSeconds = INT_MAX}).front(), Timeouts(std::to_string(INT_MAX)));  // no overflow
  EXPECT_EQ(waitOf(calls_), std::to_string(INT_MAX / 1000 + 1));
  for (const RecordedCall& call : Request({.timeoutSeconds = -1})) EXPECT_NE(call.name, "SetTimeouts");
  EXPECT_EQ(waitOf(calls_), "30");  // a fresh object's own receive time-out
}

TEST_F(WebRequestObjectCallsTest, TheResponseAsTheObjectGivesIt) {
  object_->Answer("ResponseBody", ArgOf(Bytes::Copy("hello")));
  object_->Answer("GetAllResponseHeaders",
                  ArgOf("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nset-cookie: c=3\r\nSet-Cookie: b=2\r\n"
                        "content-length: 5\r\n\r\n"));
  object_->Answer("Status", ArgOf(200.5));
  Text cookies = Text::Copy("b=0; z=9");
  Text returnedCookies;
  Text headers;
  int32_t status = 0;
  EXPECT_EQ(WebRequestObject(kUrl, {.cookies = cookies, .returnedCookies = returnedCookies,
                                    .returnedHeaders = headers, .statusCode = status, .requestObject = holder_})
                .view(),
            "hello");
  EXPECT_TRUE(headers.view().starts_with("HTTP/1.1 200 OK\r\nSet-Cookie: a=1"));
  EXPECT_EQ(status, 201);  // rounded to the nearest
  EXPECT_EQ(returnedCookies.view(), "a=1; b=2; z=9");
  EXPECT_EQ(cookies.view(), "a=1; b=2; z=9");

  Text unmerged;
  WebRequestObject(kUrl, {.returnedCookies = unmerged, .requestObject = holder_});
  EXPECT_EQ(unmerged.view(), "a=1; b=2");
}

TEST_F(WebRequestObjectCallsTest, ABodyShorterThanItsDeclaredLengthIsNoBody) {
  object_->Answer("ResponseBody", ArgOf(Bytes::Copy("hel")));
  object_->Answer("GetAllResponseHeaders", ArgOf("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n"));
  object_->Answer("Status", ArgOf(200));
  Text headers;
  int32_t status = 0;
  EXPECT_TRUE(
      WebRequestObject(kUrl, {.returnedHeaders = headers, .statusCode = status, .requestObject = holder_}).empty());
  EXPECT_EQ(status, 200);
  EXPECT_FALSE(headers.empty());
  EXPECT_EQ(WebRequestObject(kUrl, {.method = 2, .requestObject = holder_}).view(), "hel");  // HEAD declares, sends none
}

TEST_F(WebRequestObjectCallsTest, NothingIsReadWhenTheAnswerDidNotArrive) {
  object_->Answer("ResponseBody", ArgOf(Bytes::Copy("stale")));
  object_->Answer("Status", ArgOf(200));
  object_->Fail("WaitForResponse", DISP_E_EXCEPTION);
  Text headers = Text::Copy("old");
  int32_t status = -1;
  EXPECT_TRUE(
      WebRequestObject(kUrl, {.returnedHeaders = headers, .statusCode = status, .requestObject = holder_}).empty());
  EXPECT_EQ(calls_.back().name, "WaitForResponse");
  EXPECT_TRUE(headers.IsNull());
  EXPECT_EQ(status, 0);
}

TEST_F(WebRequestObjectCallsTest, KeepAliveIsSkippedOnlyWhenSpelledExactly) {
  const std::string_view block = "connection: keep-alive\r\nX-A: 1";
  EXPECT_EQ(HeadersOf({.extraHeaders = block, .completeHeaders = false}), (Calls{Header("X-A", "1")}));
  EXPECT_EQ(HeadersOf({.extraHeaders = block, .completeHeaders = false, .normaliseHeaders = false}),
            (Calls{Header("connection", "keep-alive"), Header("X-A", "1")}));
  EXPECT_EQ(HeadersOf({.extraHeaders = "Connection: keep-alive\r\n\r\nnoise\r\nConnection: Keep-Alive",
                       .completeHeaders = false, .normaliseHeaders = false}),
            (Calls{Header("", ""), Header("Connection", "Keep-Alive")}));
}

TEST_F(WebRequestObjectCallsTest, ABlockOfOneLineIsSetAsItIs) {
  EXPECT_EQ(HeadersOf({.extraHeaders = "Connection: keep-alive", .completeHeaders = false}),
            (Calls{Header("Connection", "keep-alive")}));
  EXPECT_EQ(HeadersOf({.completeHeaders = false}), (Calls{Header("", "")}));
  EXPECT_EQ(HeadersOf({.extraHeaders = "Host: a:8080", .completeHeaders = false, .normaliseHeaders = false}),
            (Calls{Header("Host", "a:8080")}));
}

TEST_F(WebRequestObjectCallsTest, CookiesGivenEmptyAreSentAndNotGivenAreNot) {
  Text empty;
  EXPECT_EQ(HeadersOf({.cookies = empty, .completeHeaders = false}), (Calls{Header("Cookie", ""), Header("", "")}));
  EXPECT_TRUE(empty.IsNull());
  EXPECT_EQ(HeadersOf({.completeHeaders = false}), (Calls{Header("", "")}));

  Text prefixed = Text::Copy("COOKIE: a=1; cookie:b=2");
  Text returned;
  HeadersOf({.cookies = prefixed, .returnedCookies = returned, .mergeCookies = false});
  EXPECT_EQ(calls_.at(4), Header("Cookie", " a=1; b=2"));
  EXPECT_EQ(prefixed.view(), " a=1; b=2");  // not merged: left as sent
  EXPECT_TRUE(returned.IsNull());
}

TEST_F(WebRequestObjectCallsTest, ProxyCredentialsNeedAProxyAndAUser) {
  const auto credentialCalls = [](const Calls& calls) {
    Calls found;
    for (const RecordedCall& call : calls) {
      if (call.name == "SetCredentials" || (call.name == "SetRequestHeader" && call.args[0] == "Proxy-Authorization")) {
        found.push_back(call);
      }
    }
    return found;
  };
  EXPECT_EQ(credentialCalls(Request({.proxy = "p:1", .proxyUser = "u", .proxyPassword = "p", .credentialTarget = 0})),
            (Calls{{"SetCredentials", kMethod, {"u", "p", "0"}}}));
  EXPECT_EQ(credentialCalls(Request({.proxyUser = "u", .proxyPassword = "p"})), Calls{});
  EXPECT_EQ(credentialCalls(Request({.proxy = "p:1", .proxyPassword = "p"})), Calls{});
  EXPECT_EQ(credentialCalls(Request({.proxy = "p:1", .proxyUser = "用户"})),
            (Calls{{"SetCredentials", kMethod, {"用户", "", "1"}}, Header("Proxy-Authorization", "Basic 08O7pzo=")}));
}

TEST_F(WebRequestObjectCallsTest, NonEmptyBodyBytesAreSentInsteadOfTheBody) {
  const std::string_view binary("\x00\x01\xFF\r\n", 5);
  const Bytes bytes = Bytes::Copy(binary);
  EXPECT_EQ(Request({.body = "ignored", .bodyBytes = bytes}).at(8), (RecordedCall{"Send", kMethod, {std::string(binary)}}));
  EXPECT_EQ(bytes.view(), binary);
  const Bytes none;
  EXPECT_EQ(Request({.body = "used", .bodyBytes = none}).at(8), (RecordedCall{"Send", kMethod, {"used"}}));
}

TEST_F(WebRequestObjectCallsTest, AnEmptyCallersObjectStillGivesEmptyResults) {
  AutomationObject empty;
  Text headers = Text::Copy("old");
  int32_t status = 7;
  EXPECT_TRUE(WebRequestObject(kUrl, {.returnedHeaders = headers, .statusCode = status, .requestObject = empty}).empty());
  EXPECT_TRUE(headers.IsNull());
  EXPECT_EQ(status, 0);
}

// Port 0 and negative ports would reach the scheme's default port.
TEST_F(WebRequestObjectCallsTest, AUrlNamingAnUnusablePortIsNotOpened) {
  for (const char* url : {"http://127.0.0.1:0/", "http://127.0.0.1:-5/", "http://h:65616/"}) {
    Text headers = Text::Copy("old");
    int32_t status = 7;
    EXPECT_TRUE(Request({.returnedHeaders = headers, .statusCode = status}, url).empty()) << url;
    EXPECT_TRUE(headers.IsNull()) << url;
    EXPECT_EQ(status, 0) << url;
  }
}

TEST(WebRequestObjectCreation, WithoutARequestObjectNothingIsWritten) {
  ComScope com;
  CLSID requestClass;
  ASSERT_EQ(CLSIDFromProgID(L"WinHttp.WinHttpRequest.5.1", &requestClass), S_OK);
  ScopedClassObject unavailable(requestClass, [] { return nullptr; });
  Text cookies = Text::Copy("Cookie: a=1");
  Text returnedCookies = Text::Copy("old");
  Text headers = Text::Copy("old");
  int32_t status = 7;
  EXPECT_TRUE(WebRequestObject(kUrl, {.cookies = cookies, .returnedCookies = returnedCookies,
                                      .returnedHeaders = headers, .statusCode = status}).empty());
  EXPECT_EQ(cookies.view(), "Cookie: a=1");
  EXPECT_EQ(returnedCookies.view(), "old");
  EXPECT_EQ(headers.view(), "old");
  EXPECT_EQ(status, 7);
}

}  // namespace
