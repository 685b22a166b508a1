// ScriptError: why a script engine refused a text, in the form of the
// engine's own error object.
#pragma once
#include <string_view>

#include "runtime/automation_object.h"
#include "runtime/text.h"
#include "script/json_literal_check.h"

struct ScriptError {
  int number = 0;
  Text source;
  Text description;
  Text helpFile;
  int helpContext = 0;
  Text text;       // the line of the source where the fault was found
  int line = 0;    // 1-based
  int column = 0;  // 0-based, in characters
};

// The engine's code for a syntax error, also given to refused texts.
inline constexpr int kScriptSyntaxError = static_cast<int>(0x800A03EA);

// The record of the last error of a script control (number 0 and empty
// texts when there was none).
ScriptError ReadScriptError(AutomationObject& engine);

// The record of a text refused by CheckLiteralText before it reached an
// engine: the syntax error number, source "JSON", the fault's description,
// and its line of `text` and position in it.
ScriptError RefusedTextError(std::string_view text, const LiteralFault& fault);
