#include "script/script_error.h"

#include "runtime/automation_calls.h"
#include "runtime/conversions.h"

namespace {

// The engine's numbers are doubles; the record keeps them truncated.
int NumberOf(AutomationObject& error, const char* name) {
  return ToInteger(TypedArg::Double(GetPropertyNumber(error, name)));
}

// Line `number` (1-based) of the text; CR LF, CR and LF each end a line.
std::string_view LineOf(std::string_view text, int number) {
  size_t start = 0;
  for (int line = 1; line < number && start < text.size(); ++line) {
    start = text.find_first_of("\r\n", start);
    if (start == std::string_view::npos) return {};
    start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;
  }
  std::string_view rest = text.substr(start);
  return rest.substr(0, rest.find_first_of("\r\n"));
}

}  // namespace

ScriptError ReadScriptError(AutomationObject& engine) {
  AutomationObject error = CallMethodObject(engine, "Error");
  ScriptError record;
  record.number = NumberOf(error, "Number");
  record.source = GetPropertyText(error, "Source");
  record.description = GetPropertyText(error, "Description");
  record.helpFile = GetPropertyText(error, "HelpFile");
  record.helpContext = NumberOf(error, "HelpContext");
  record.text = GetPropertyText(error, "Text");
  record.line = NumberOf(error, "Line");
  record.column = NumberOf(error, "Column");
  return record;
}

ScriptError RefusedTextError(std::string_view text, const LiteralFault& fault) {
  ScriptError record;
  record.number = kScriptSyntaxError;
  record.source = Text::Copy("JSON");
  record.description = Text::Copy(fault.description);
  record.text = Text::Copy(LineOf(text, fault.line));
  record.line = fault.line;
  record.column = fault.column - 1;
  return record;
}
