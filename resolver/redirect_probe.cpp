#include "resolver/redirect_probe.h"

#include "http/answer_wait.h"
#include "http/exchange_deadline.h"
#include "http/request_object_release.h"
#include "http/url_parts.h"
#include "runtime/automation_calls.h"
#include "runtime/com_scope.h"
#include "runtime/variant_cell.h"

namespace {

constexpr const char* kProgId = "WinHttp.WinHttpRequest.5.1";
constexpr int32_t kOptionEnableRedirects = 6;
constexpr int32_t kResolveTimeoutMs = 5000;
constexpr int32_t kConnectTimeoutMs = 5000;
constexpr int32_t kSendTimeoutMs = 10000;
constexpr int32_t kReceiveTimeoutMs = 5000;
// The whole exchange ends at the sum of the four time-outs.
constexpr uint32_t kDeadlineMs = kResolveTimeoutMs + kConnectTimeoutMs + kSendTimeoutMs + kReceiveTimeoutMs;

struct HeaderLine {
  const char* name;
  const char* value;
};

// The probe looks like a plain browser: these lines only, no cookies.
constexpr HeaderLine kProbeHeaders[] = {
    {"User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)"},
    {"Accept-Language", "zh-cn"},
    {"Connection", "Keep-Alive"},
    {"Accept",
     "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
     "application/x-silverlight, */*"},
};

void DisableRedirects(AutomationObject& request) {
  PutProperty(request, "Option", {ArgOf(kOptionEnableRedirects), ArgOf(0)});
}

void SetTimeouts(AutomationObject& request) {
  CallMethod(request, "SetTimeouts",
             {ArgOf(kResolveTimeoutMs), ArgOf(kConnectTimeoutMs), ArgOf(kSendTimeoutMs), ArgOf(kReceiveTimeoutMs)});
}

}  // namespace

Text ProbeRedirect(std::string_view linkView) {
  ComScope com;
  const Text link = Text::Copy(linkView);
  // The request object would take port 0 as the scheme's default port, and
  // send a CR LF in the link as the start of another header line.
  if (!IsSendableUrl(link.get())) return Text();
  AutomationObject request;  // let go before COM is uninitialised
  if (!RequestObjectMayStart() || !CreateObject(request, kProgId)) return Text();
  // The answer's headers are due within the receive time-out, the whole
  // exchange within the sum of the time-outs.
  const ExchangeDeadline headersBy(kReceiveTimeoutMs);
  const ExchangeDeadline wholeBy(kDeadlineMs);

  DisableRedirects(request);
  SetTimeouts(request);
  // Opened in asynchronous mode so that the wait for the answer is bounded
  // (see SendAndAwaitAnswer); the call still blocks until then.
  CallMethod(request, "open", {ArgOf("GET"), ArgOf(link.c_str()), ArgOf(true)});
  // Wine 8.0's request object resets its options and time-outs inside
  // "open": the probe would follow the redirect and wait for as long as the
  // object's defaults allow. Setting them again after "open" keeps the probe
  // as intended there and changes nothing where the object keeps them.
  DisableRedirects(request);
  SetTimeouts(request);
  for (const HeaderLine& header : kProbeHeaders) {
    CallMethod(request, "setRequestHeader", {ArgOf(header.name), ArgOf(header.value)});
  }
  // Only the headers matter: the redirect's body is neither waited for nor read.
  const ExchangeEnd end = SendAndAwaitAnswer(request, "send", {}, headersBy, wholeBy, true);
  Text target;
  if (end == ExchangeEnd::Whole || end == ExchangeEnd::HeadersIn) {
    VariantCell location = GetPropertyVariant(request, "GetResponseHeader", {ArgOf("Location")});
    target = VariantToText(location.get());
  }
  ReleaseRequestObject(request, end);
  return target.empty() ? Text() : std::move(target);
}
