#include "http/web_request_object.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "http/answer_wait.h"
#include "http/base64.h"
#include "http/cookies.h"
#include "http/exchange_deadline.h"
#include "http/exchange_refusal.h"
#include "http/header_block.h"
#include "http/header_completion.h"
#include "http/http_method.h"
#include "http/request_object_release.h"
#include "http/text_items.h"
#include "http/url_parts.h"
#include "runtime/automation_calls.h"
#include "runtime/com_scope.h"
#include "runtime/text_compare.h"
#include "runtime/text_search.h"
#include "runtime/variant_cell.h"

namespace {

constexpr const char* kProgId = "WinHttp.WinHttpRequest.5.1";
constexpr int32_t kLeaveTimeouts = -1;
constexpr int32_t kDefaultTimeoutMs = 15000;
constexpr int32_t kMsPerSecond = 1000;
constexpr int32_t kNamedProxy = 2;
constexpr int32_t kOptionEnableRedirects = 6;
constexpr int32_t kOptionIgnoredCertificateErrors = 4;
// Unknown certificate authority, wrong usage, name mismatch, expired.
constexpr int32_t kIgnoredCertificateErrors = 0x0100 | 0x0200 | 0x1000 | 0x2000;
constexpr int32_t kProxyCredentials = 1;
constexpr int kTimeoutCount = 4;  // resolve, connect, send, receive

// All four time-outs in ms; none when the caller leaves them as they are. A
// number of seconds too large for the object is taken as the largest one.
std::optional<int32_t> TimeoutMs(int32_t seconds) {
  if (seconds == kLeaveTimeouts) return std::nullopt;
  if (seconds < 1) return kDefaultTimeoutMs;
  constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();
  return seconds > kLargest / kMsPerSecond ? kLargest : seconds * kMsPerSecond;
}

void SetTimeouts(AutomationObject& request, int32_t ms) {
  CallMethod(request, "SetTimeouts", {ArgOf(ms), ArgOf(ms), ArgOf(ms), ArgOf(ms)});
}

void SetRequestHeader(AutomationObject& request, const char* name, const char* value) {
  CallMethod(request, "SetRequestHeader", {ArgOf(name), ArgOf(value)});
}

// The answer's headers are due within the receive time-out; the whole
// exchange ends at the sum of the four time-outs.
struct Deadlines {
  ExchangeDeadline headers;
  ExchangeDeadline whole;
};
Deadlines DeadlinesOf(std::optional<int32_t> timeoutMs) {
  if (!timeoutMs) {
    return {ExchangeDeadline(kRequestObjectOwnReceiveTimeoutMs), ExchangeDeadline(kRequestObjectDefaultDeadlineMs)};
  }
  const auto whole = static_cast<uint32_t>(std::min<int64_t>(int64_t{*timeoutMs} * kTimeoutCount, UINT32_MAX));
  return {ExchangeDeadline(static_cast<uint32_t>(*timeoutMs)), ExchangeDeadline(whole)};
}

// Time-outs, proxy, Open and the options. Opened in asynchronous mode; the
// caller still blocks until the answer is in (see SendAndAwaitAnswer).
void OpenRequest(AutomationObject& request, const char* verb, const Text& url,
                 std::optional<int32_t> timeoutMs, const WebRequestObjectOptions& options) {
  if (timeoutMs) SetTimeouts(request, *timeoutMs);
  const Text proxy = Text::Copy(options.proxy.value_or(std::string_view()));
  if (!proxy.empty()) CallMethod(request, "SetProxy", {ArgOf(kNamedProxy), ArgOf(proxy.c_str())});
  CallMethod(request, "Open", {ArgOf(verb), ArgOf(url.c_str()), ArgOf(true)});
  // Wine 8.0's request object resets its time-outs (and options) inside
  // Open, so those set before it would be lost; set them again. Objects that
  // keep them are not affected.
  if (timeoutMs) SetTimeouts(request, *timeoutMs);
  if (options.noRedirect.value_or(false)) {
    PutProperty(request, "Option", {ArgOf(kOptionEnableRedirects), ArgOf(0)});
  }
  // Wine 8.0 does not implement this option (E_NOTIMPL): there a
  // certificate the machine does not trust fails the request.
  PutProperty(request, "Option", {ArgOf(kOptionIgnoredCertificateErrors), ArgOf(kIgnoredCertificateErrors)});
}

// Complete first, then normalise, so added lines are normalised too.
Text HeaderBlockOf(const Text& url, HttpMethod method, const WebRequestObjectOptions& options) {
  Text block = Text::Copy(options.extraHeaders.value_or(std::string_view()));
  if (options.completeHeaders.value_or(true)) CompleteHeaderBlock(block, url.get(), method, true);
  if (options.normaliseHeaders.value_or(true)) block = NormaliseHeaderBlock(block.get());
  return block;
}

void SetProxyCredentials(AutomationObject& request, const WebRequestObjectOptions& options) {
  const std::string_view proxy = options.proxy.value_or(std::string_view());
  const std::string_view user = options.proxyUser.value_or(std::string_view());
  const std::string_view password = options.proxyPassword.value_or(std::string_view());
  if (proxy.empty() || user.empty()) return;
  const int32_t target = options.credentialTarget.value_or(kProxyCredentials);
  const Text userText = Text::Copy(user);
  const Text passwordText = Text::Copy(password);
  CallMethod(request, "SetCredentials", {ArgOf(userText.c_str()), ArgOf(passwordText.c_str()), ArgOf(target)});
  if (target != kProxyCredentials) return;
  const std::string pair = std::string(user) + ":" + std::string(password);
  const Text encoded = Base64Encode(Bytes::Copy(pair));
  const Text value = ConcatTexts({"Basic ", encoded.get()});
  SetRequestHeader(request, "Proxy-Authorization", value.get());
}

// Given cookies are sent even when empty; "Cookie:" prefixes are removed
// from the caller's variable first.
void SetCookies(AutomationObject& request, const WebRequestObjectOptions& options) {
  if (!options.cookies) return;
  Text& cookies = options.cookies->get();
  if (!cookies.empty() && FindText(cookies.get(), "Cookie:", std::nullopt, true) != -1) {
    cookies = ReplaceText(cookies.get(), "Cookie:", nullptr, std::nullopt, std::nullopt, false);
  }
  SetRequestHeader(request, "Cookie", cookies.c_str());
}

bool IsKeepAlive(const Text& name, const Text& value) {
  return CompareTexts(name.get(), "Connection") == 0 && CompareTexts(value.get(), "keep-alive") == 0;
}

// A block of one line is set as it is, even an empty one; from a longer
// block empty lines and "Connection: keep-alive" are skipped.
void SetHeaderLines(AutomationObject& request, const Text& block) {
  if (FindText(block.get(), "\r\n") == -1) {
    SetRequestHeader(request, HeaderName(block.get()).c_str(), HeaderValue(block.get()).c_str());
    return;
  }
  const TextArray lines = SplitText(block.get(), "\r\n");
  for (const char* line : ItemsOf(lines)) {
    if (TextLength(line) == 0) continue;
    const Text name = HeaderName(line);
    const Text value = HeaderValue(line);
    if (!IsKeepAlive(name, value)) SetRequestHeader(request, name.c_str(), value.c_str());
  }
}

ExchangeEnd SendAndAwait(AutomationObject& request, const Deadlines& deadlines,
                         const WebRequestObjectOptions& options) {
  const Bytes* bodyBytes = options.bodyBytes ? &options.bodyBytes->get() : nullptr;
  const std::optional<uint64_t> largestBody = options.bodyLimit;
  if (!bodyBytes || bodyBytes->empty()) {
    const Text body = Text::Copy(options.body.value_or(std::string_view()));
    return SendAndAwaitAnswer(request, "Send", {ArgOf(body.c_str())}, deadlines.headers, deadlines.whole, false,
                              largestBody);
  }
  VariantCell cell;
  SetVariant(cell.get(), ArgOf(*bodyBytes));
  return SendAndAwaitAnswer(request, "Send", {ArgOf(cell)}, deadlines.headers, deadlines.whole, false, largestBody);
}

// Whether the headers declare a longer body than arrived: Wine's object
// hands over a body cut short by the server like a complete one.
bool BodyCutShort(const Text& headers, HttpMethod method, size_t received) {
  if (method == HttpMethod::Head) return false;
  const TextArray lines = SplitText(headers.get(), "\r\n");
  for (const char* line : ItemsOf(lines)) {
    if (CompareTextsCase(HeaderName(line).get(), "Content-Length", false) == 0) {
      return std::strtoull(HeaderValue(line).c_str(), nullptr, 10) > received;
    }
  }
  return false;
}

// The length of the byte array the object hands a body over in.
size_t BodySize(const VARIANT& body) {
  if (V_VT(&body) != (VT_ARRAY | VT_UI1) || !V_ARRAY(&body)) return 0;
  LONG lower = 0;
  LONG upper = -1;
  SafeArrayGetLBound(V_ARRAY(&body), 1, &lower);
  SafeArrayGetUBound(V_ARRAY(&body), 1, &upper);
  return upper >= lower ? static_cast<size_t>(upper - lower) + 1 : 0;
}

// Everything from the time-outs to the answer; the response may be read
// only when the answer arrived whole.
ExchangeEnd Exchange(AutomationObject& request, const Text& url, HttpMethod method,
                     const WebRequestObjectOptions& options) {
  const std::optional<int32_t> timeoutMs = TimeoutMs(options.timeoutSeconds.value_or(0));
  const Deadlines deadlines = DeadlinesOf(timeoutMs);
  OpenRequest(request, HttpVerb(method), url, timeoutMs, options);
  const Text block = HeaderBlockOf(url, method, options);
  SetProxyCredentials(request, options);
  SetCookies(request, options);
  SetHeaderLines(request, block);
  return SendAndAwait(request, deadlines, options);
}

}  // namespace

Bytes WebRequestObject(std::string_view urlView, const WebRequestObjectOptions& options) {
  ComScope com;
  const Text url = Text::Copy(urlView);
  const HttpMethod method = HttpMethodOf(options.method.value_or(0));
  AutomationObject request;  // released before COM is uninitialised
  if (options.requestObject) {
    NoteExchangeRefusal(nullptr);
    AssignObject(request, options.requestObject->get());
  } else if (!RequestObjectMayStart() || !CreateObject(request, kProgId)) {
    return Bytes();
  }

  VariantCell response;
  Text headers;
  double status = 0;
  // A URL naming an unusable port or holding control characters fails like
  // any malformed URL, without reaching another server or adding lines.
  const ExchangeEnd end = IsSendableUrl(url.get()) ? Exchange(request, url, method, options) : ExchangeEnd::Failed;
  // An answer whose body is declared too long still gives its headers.
  if (end == ExchangeEnd::Whole || end == ExchangeEnd::TooLong) {
    headers = GetPropertyText(request, "GetAllResponseHeaders");
    status = GetPropertyNumber(request, "Status");
  }
  if (end == ExchangeEnd::Whole) response = GetPropertyVariant(request, "ResponseBody");
  // The caller's own object is the caller's to keep safe.
  if (options.requestObject) {
    ReleaseObject(request);
  } else {
    ReleaseRequestObject(request, end);
  }
  // A body over the limit is dropped before the runtime's copy of it is made.
  const size_t limit = options.bodyLimit.value_or(SIZE_MAX);
  Bytes body = BodySize(response.get()) <= limit ? VariantToBytes(response.get()) : Bytes();
  response = VariantCell();  // the body is not held twice for the rest of the call
  if (BodyCutShort(headers, method, body.size()) || body.size() > limit) body = Bytes();

  Text cookies = CollectResponseCookies(headers.get());
  if (options.mergeCookies.value_or(true) && options.cookies) cookies = MergeCookies(options.cookies->get(), cookies);
  if (options.statusCode) options.statusCode->get() = static_cast<int32_t>(std::lround(status));
  if (options.returnedHeaders) options.returnedHeaders->get() = std::move(headers);
  if (options.returnedCookies) options.returnedCookies->get() = std::move(cookies);
  return body;
}
