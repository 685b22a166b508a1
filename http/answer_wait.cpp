#include "http/answer_wait.h"

#include "runtime/automation_calls.h"

namespace {

constexpr int32_t kWithoutLimit = -1;

// Whether the wait ended with the whole answer; false on a time-out or a
// failed exchange.
bool WaitForResponse(AutomationObject& request, int32_t seconds) {
  const bool complete = CallMethodLogical(request, "WaitForResponse", {ArgOf(seconds)});
  return complete && SUCCEEDED(request.lastResult);
}

}  // namespace

bool SendAndAwaitAnswer(AutomationObject& request, const char* sendName, ArgList body, int32_t answerSeconds) {
  CallMethod(request, sendName, body);
  // Waiting for a request that was never sent does not end on Wine.
  if (FAILED(request.lastResult)) return false;
  if (WaitForResponse(request, answerSeconds)) return true;
  if (FAILED(request.lastResult)) return false;
  GetPropertyNumber(request, "Status");
  if (SUCCEEDED(request.lastResult)) return WaitForResponse(request, kWithoutLimit);
  CallMethod(request, "Abort");
  return false;
}
