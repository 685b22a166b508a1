#include "http/answer_wait.h"

#include <windows.h>

#include <algorithm>

#include "runtime/automation_calls.h"

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

}  // namespace

ExchangeEnd SendAndAwaitAnswer(AutomationObject& request, const char* sendName, ArgList body,
                               const ExchangeDeadline& headersBy, const ExchangeDeadline& wholeBy,
                               bool headersSuffice) {
  CallMethod(request, sendName, body);
  // Waiting for a request that was never sent does not end on Wine.
  if (FAILED(request.lastResult)) return ExchangeEnd::Failed;
  bool headersIn = false;
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
  // Not aborted: Wine's Abort waits for the object's worker, which may sit in
  // a socket read for as long as the receive time-out.
  return ExchangeEnd::CutOff;
}
