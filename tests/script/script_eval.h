// Running script in an engine through the automation bridge, for tests that
// look inside an engine.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "runtime/automation_calls.h"
#include "runtime/com_scope.h"

// The value of the expression (or of the last statement) as text; logical
// values come as "-1" and "0". `ran` tells whether the engine ran it.
inline std::string EvalIn(AutomationObject& engine, const std::string& expression, bool* ran = nullptr) {
  Text value = CallMethodText(engine, "Eval", {ArgOf(expression.c_str())});
  if (ran) *ran = SUCCEEDED(engine.lastResult);
  return std::string(value.view());
}

// Loads the code; true when the engine accepted and ran it.
inline bool AddCodeIn(AutomationObject& engine, const std::string& code) {
  CallMethod(engine, "AddCode", {ArgOf(code.c_str())});
  return SUCCEEDED(engine.lastResult);
}

// A bare engine running JavaScript, optionally in the safe subset: what
// script does when nothing guards it.
class BareEngine {
 public:
  enum SafeSubset { kNone, kBeforeLanguage, kAfterLanguage };
  explicit BareEngine(SafeSubset safeSubset = kNone) {
    EXPECT_TRUE(CreateObject(engine_, "MSScriptControl.ScriptControl"));
    if (safeSubset == kBeforeLanguage) PutProperty(engine_, "UseSafeSubset", {ArgOf(true)});
    PutProperty(engine_, "Language", {ArgOf("JavaScript")});
    if (safeSubset == kAfterLanguage) PutProperty(engine_, "UseSafeSubset", {ArgOf(true)});
    EXPECT_EQ(engine_.lastResult, S_OK);
  }
  std::string Eval(const std::string& expression, bool* ran = nullptr) { return EvalIn(engine_, expression, ran); }
  bool AddCode(const std::string& code) { return AddCodeIn(engine_, code); }

 private:
  ComScope com_;
  AutomationObject engine_;
};
