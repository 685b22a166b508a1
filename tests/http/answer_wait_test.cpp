// The bounded wait for an answer, against a recording object that plays the
// request object's part.
#include "http/answer_wait.h"

#include <gtest/gtest.h>

#include "runtime/automation_calls.h"
#include "support/recording_object.h"

namespace {

class AnswerWaitTest : public ::testing::Test {
 protected:
  AnswerWaitTest() : object_(new RecordingObject(calls_)) { holder_.Adopt(object_); }

  std::vector<std::string> CallNames() const {
    std::vector<std::string> names;
    for (const RecordedCall& call : calls_) names.push_back(call.name + (call.args.empty() ? "" : " " + call.args[0]));
    return names;
  }

  std::vector<RecordedCall> calls_;
  RecordingObject* object_;  // owned by holder_
  AutomationObject holder_;
};

using Names = std::vector<std::string>;

TEST_F(AnswerWaitTest, AWholeAnswerWithinTheTime) {
  object_->Answer("WaitForResponse", ArgOf(true));
  EXPECT_TRUE(SendAndAwaitAnswer(holder_, "Send", {ArgOf("body")}, 7));
  EXPECT_EQ(CallNames(), (Names{"Send body", "WaitForResponse 7"}));
}

TEST_F(AnswerWaitTest, ARequestThatWasNotSentIsNotWaitedFor) {
  object_->Fail("send", E_FAIL);
  EXPECT_FALSE(SendAndAwaitAnswer(holder_, "send", {}, 7));
  EXPECT_EQ(CallNames(), (Names{"send"}));
}

TEST_F(AnswerWaitTest, AFailedExchangeEndsTheWait) {
  object_->Fail("WaitForResponse", DISP_E_EXCEPTION);
  EXPECT_FALSE(SendAndAwaitAnswer(holder_, "Send", {}, 7));
  EXPECT_EQ(CallNames(), (Names{"Send", "WaitForResponse 7"}));
}

TEST_F(AnswerWaitTest, AnAnswerThatHasBegunIsWaitedForToTheEnd) {
  object_->Answer("WaitForResponse", ArgOf(false));
  EXPECT_FALSE(SendAndAwaitAnswer(holder_, "Send", {}, 7));
  EXPECT_EQ(CallNames(), (Names{"Send", "WaitForResponse 7", "Status", "WaitForResponse -1"}));
}

TEST_F(AnswerWaitTest, NoAnswerInTimeAbortsTheRequest) {
  object_->Answer("WaitForResponse", ArgOf(false));
  object_->Fail("Status", DISP_E_EXCEPTION);
  EXPECT_FALSE(SendAndAwaitAnswer(holder_, "Send", {}, 7));
  EXPECT_EQ(CallNames(), (Names{"Send", "WaitForResponse 7", "Status", "Abort"}));
}

}  // namespace
