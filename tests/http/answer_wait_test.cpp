// Waiting for an answer until the exchange's deadline, against a recording
// object that plays the request object's part and answers at once.
#include "http/answer_wait.h"

#include <gtest/gtest.h>

#include "runtime/automation_calls.h"
#include "support/recording_object.h"

namespace {

using Names = std::vector<std::string>;

struct WaitCase {
  const char* name;
  std::optional<bool> waitGives;  // WaitForResponse's result; nothing: the call fails
  bool sendFails;
  uint32_t deadlineMs;  // for the headers; the whole answer has 5 s more
  bool headersSuffice;
  ExchangeEnd end;
  Names calls;
};

TEST(AnswerWaitTest, EndsAsTheObjectAnswersOrAtTheDeadline) {
  const WaitCase cases[] = {
      {"whole answer", true, false, 7000, false, ExchangeEnd::Whole, {"Send", "WaitForResponse 7"}},
      // An answer already whole before the wait: Wine returns at once with
      // the result left false, Windows with true; both are whole.
      {"whole before the wait", false, false, 7000, false, ExchangeEnd::Whole, {"Send", "WaitForResponse 7"}},
      {"seconds rounded up", true, false, 2500, false, ExchangeEnd::Whole, {"Send", "WaitForResponse 3"}},
      {"headers suffice: a second at a time",
       true,
       false,
       7000,
       true,
       ExchangeEnd::Whole,
       {"Send", "WaitForResponse 1"}},
      {"failed exchange", std::nullopt, false, 7000, false, ExchangeEnd::Failed, {"Send", "WaitForResponse 7"}},
      // Waiting for a request that was never sent does not end on Wine.
      {"not sent", true, true, 7000, false, ExchangeEnd::Failed, {"Send"}},
      {"deadline passed", true, false, 0, false, ExchangeEnd::CutOff, {"Send"}},  // left to end on its own
  };
  for (const WaitCase& test : cases) {
    SCOPED_TRACE(test.name);
    std::vector<RecordedCall> calls;
    auto* object = new RecordingObject(calls);
    AutomationObject holder;
    holder.Adopt(object);
    if (test.waitGives) object->Answer("WaitForResponse", ArgOf(*test.waitGives));
    if (!test.waitGives) object->Fail("WaitForResponse", DISP_E_EXCEPTION);
    if (test.sendFails) object->Fail("Send", E_FAIL);
    const ExchangeDeadline headersBy(test.deadlineMs);
    const ExchangeDeadline wholeBy(test.deadlineMs + 5000);
    EXPECT_EQ(SendAndAwaitAnswer(holder, "Send", {}, headersBy, wholeBy, test.headersSuffice), test.end);
    Names names;
    for (const RecordedCall& call : calls) names.push_back(call.name + (call.args.empty() ? "" : " " + call.args[0]));
    EXPECT_EQ(names, test.calls);
  }
}

}  // namespace
