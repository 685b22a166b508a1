#include "http/answer_wait.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "runtime/automation_calls.h"
#include "runtime/variant_cell.h"

namespace {

constexpr uint32_t kMsPerSecond = 1000;

// Whether the whole answer is in after waiting up to `seconds` (at least 1).
// Wine 8.0 returns at once, succeeding but leaving the result false, when
// the answer was already whole before the call (it checks for a request
// that has been answered before it waits); Windows gives true there. A
// false result that comes well before the time is up is therefore that
// early return, not a time-out. A failed call is a failed exchange.
bool AnswerWhole(AutomationObject& request, uint32_t seconds) {
  const uint64_t start = GetTickCount64();
  const bool whole = CallMethodLogical(request, "WaitForResponse", {ArgOf(static_cast<int32_t>(seconds))});
  return whole || GetTickCount64() - start < seconds * kMsPerSecond / 2;
}

bool HeadersIn(AutomationObject& request) {
  GetPropertyNumber(request, "Status");
  return SUCCEEDED(request.lastResult);
}

// The body length the answer's headers declare; 0 when they declare none.
uint64_t DeclaredLength(AutomationObject& request) {
  VariantCell length = GetPropertyVariant(request, "GetResponseHeader", {ArgOf("Content-Length")});
  return std::strtoull(VariantToText(length.get()).c_str(), nullptr, 10);
}

// Asks every kHeaderPollMs until the headers are in (or the whole answer:
// Windows' object may end there first). Nothing when they are; otherwise
// how the exchange ended.
std::optional<ExchangeEnd> PollForHeaders(AutomationObject& request, const ExchangeDeadline& headersBy,
                                          const ExchangeDeadline& wholeBy) {
  for (;;) {
    if (HeadersIn(request)) return std::nullopt;
    if (headersBy.Passed() || wholeBy.Passed()) return ExchangeEnd::CutOff;
    // A wait of no time: only whether the exchange failed or is whole.
    const bool whole = CallMethodLogical(request, "WaitForResponse", {ArgOf(int32_t{0})});
    if (FAILED(request.lastResult)) return ExchangeEnd::Failed;
    if (whole) return std::nullopt;
    Sleep(kHeaderPollMs);
  }
}

}  // namespace

ExchangeEnd SendAndAwaitAnswer(AutomationObject& request, const char* sendName, ArgList body,
                               const ExchangeDeadline& headersBy, const ExchangeDeadline& wholeBy,
                               bool headersSuffice, std::optional<uint64_t> largestBody) {
  CallMethod(request, sendName, body);
  // Waiting for a request that was never sent does not end on Wine.
  if (FAILED(request.lastResult)) return ExchangeEnd::Failed;
  bool headersIn = false;
  if (largestBody) {
    if (const std::optional<ExchangeEnd> end = PollForHeaders(request, headersBy, wholeBy)) return *end;
    if (DeclaredLength(request) > *largestBody) return ExchangeEnd::TooLong;
    headersIn = true;
  }
  // The object waits in whole seconds: the last wait may pass a deadline by
  // less than a second when it is not a whole number of seconds away.
  for (;;) {
    const uint32_t remaining = std::min((headersIn ? wholeBy : headersBy).RemainingMs(), wholeBy.RemainingMs());
    if (remaining == 0) break;
    const uint32_t seconds = headersSuffice ? 1 : (remaining + kMsPerSecond - 1) / kMsPerSecond;
    const bool whole = AnswerWhole(request, seconds);
    if (FAILED(request.lastResult)) return ExchangeEnd::Failed;
    if (whole) return ExchangeEnd::Whole;
    headersIn = headersIn || HeadersIn(request);
    if (headersIn && headersSuffice) return ExchangeEnd::HeadersIn;
  }
  return ExchangeEnd::CutOff;  // aborted when let go (ReleaseRequestObject)
}
