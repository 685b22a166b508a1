#include "script/json_object.h"

#include <charconv>
#include <cmath>

#include "runtime/automation_calls.h"
#include "runtime/conversions.h"
#include "runtime/text_compare.h"
#include "runtime/text_search.h"
#include "script/json_literal_check.h"
#include "script/json_support_script.h"

namespace {

constexpr char kRootName[] = "da";
// Ends every read of text: the backslash carrier (U+2400, held in
// str_Code) becomes a backslash again.
constexpr char kCarrierToBackslash[] = R"(.replace(str_reg, '\\'))";

// The script source of a string holding exactly `value`: quotes, line
// breaks and backslashes escaped, backslashes then kept as the carrier.
// Null for text that is not well-formed GBK: the engine could divide it
// into characters differently from the escaping and let a quote through.
Text ScriptString(const char* value) {
  if (!IsWellFormedGbk(TextView(value))) return Text();
  Text escaped = ReplaceText(value, "\\", "\\\\");
  escaped = ReplaceText(escaped.get(), "'", "\\'");
  escaped = ReplaceText(escaped.get(), "\"", "\\\"");
  escaped = ReplaceText(escaped.get(), "\r", "\\r");
  escaped = ReplaceText(escaped.get(), "\n", "\\n");
  return ConcatTexts({"'", escaped.get(), R"('.replace(/\\/g, str_Code))"});
}

// The script source of an element value: a JSON literal value as it is, or
// a string. Null, so that nothing is evaluated, when it cannot be placed.
Text ElementSource(const char* value, bool asJson) {
  if (!asJson) return ScriptString(value);
  if (CheckLiteralText(TextView(value), LiteralUse::Assigned)) return Text();
  return Text::Copy(value);
}

Text IndexText(int index) { return ToText(TypedArg::Int(index)); }

// Shortest text that reads back as the same number in the engine.
Text NumberSource(double number) {
  if (std::isnan(number)) return Text::Copy("NaN");
  if (std::isinf(number)) return Text::Copy(number > 0 ? "Infinity" : "-Infinity");
  char buffer[32];
  return Text::Copy(std::string_view(buffer, std::to_chars(buffer, buffer + sizeof buffer, number).ptr));
}

Text ClassOf(const Text& path) { return ConcatTexts({"Object.prototype.toString.call(", path.get(), ")"}); }

// The code as the engine is given it: nothing at all when it is too long,
// so that the call gives the empty result of a statement that did nothing.
const char* Bounded(const Text& code) { return code.size() <= kLargestScriptSource ? code.c_str() : EmptyText; }

}  // namespace

JsonObject::JsonObject() : rootName(Text::Copy(kRootName)) { Start(); }

JsonObject::JsonObject(const JsonObject& source) : rootName(Text::Copy(source.rootName.get())) {
  AssignObject(engine_, source.engine_);
}

void JsonObject::Start() {
  if (!CreateObject(engine_, "MSScriptControl.ScriptControl")) return;
  // A second guard against code in documents: no ActiveX objects. The
  // engine of the test platform only honours it before the language is set.
  PutProperty(engine_, "UseSafeSubset", {ArgOf(true)});
  PutProperty(engine_, "Language", {ArgOf("JavaScript")});
  CallMethod(engine_, "AddCode", {ArgOf(kJsonSupportScript)});
  Evaluate(ConcatTexts({"var ", rootName.get(),
                        " = {}, str_Code = String.fromCharCode(9216), str_reg = new RegExp(str_Code, 'g')"}));
}

bool JsonObject::Parse(const char* text, bool literal, ScriptError* error, bool wantError) {
  if (IsObjectEmpty(engine_)) return false;
  ReleaseObject(engine_);
  Start();
  Evaluate(ConcatTexts({"var ", rootName.get(), " = null"}));
  if (TextLength(text) > kLargestScriptSource) {
    if (wantError && error) *error = RefusedTextError(TextView(text), {"the text is too long for the engine", 1, 1});
    return false;
  }
  // The text goes into the source as it is, so it must be nothing but a
  // value: a server's answer must never be able to run code.
  if (auto fault = CheckLiteralText(TextView(text), literal ? LiteralUse::Assigned : LiteralUse::EvalArgument)) {
    if (wantError && error) *error = RefusedTextError(TextView(text), *fault);
    return false;
  }
  Text statement = literal ? ConcatTexts({"var ", rootName.get(), " = ", text})
                           : ConcatTexts({"var ", rootName.get(), " = eval(", text, ")"});
  CallMethod(engine_, "AddCode", {ArgOf(Bounded(statement))});
  if (wantError && error) *error = ReadScriptError(engine_);
  return EvaluateLogical(ConcatTexts({rootName.get(), " != null"}));
}

bool JsonObject::Clear() { return EvaluateLogical(ConcatTexts({rootName.get(), " = {}"})); }

Text JsonObject::ToJson() { return JsonOf(rootName.get()); }

bool JsonObject::SetText(const char* path, const char* value, bool asJson) {
  bool exists;
  Text target = Qualified(path, &exists);
  Text statement;
  if (asJson) {
    const char* json = TextView(value).empty() ? "{}" : value;
    // Into an existing object the new members are merged; anything else is
    // replaced by the value, which goes through eval().
    bool merge = exists && EvaluateText(ClassOf(target)).view() == "[object Object]";
    if (CheckLiteralText(json, merge ? LiteralUse::Assigned : LiteralUse::EvalArgument)) return false;
    statement = merge ? ConcatTexts({target.get(), " = get__extend(", target.get(), ", ", json, ")"})
                      : ConcatTexts({target.get(), " = eval(", json, ")"});
  } else {
    Text string = ScriptString(value);
    if (string.IsNull()) return false;
    statement = ConcatTexts({target.get(), " = ", string.get()});
  }
  return EvaluateLogical(statement);
}

bool JsonObject::SetExpression(const char* path, const char* expression) {
  Text target = Qualified(path);
  return EvaluateLogical(ConcatTexts({target.get(), " = eval(", expression, ")"}));
}

bool JsonObject::QualifyPath(Text& path) {
  auto notNull = [this](const Text& candidate) {
    return EvaluateLogical(ConcatTexts({candidate.get(), " != null"}));
  };
  if (TextStartsWith(path.get(), rootName.get()) && notNull(path)) return true;
  if (path.empty()) {
    path = Text::Copy(rootName.get());
  } else if (path.view().front() == '[') {
    path = ConcatTexts({rootName.get(), path.get()});
  } else {
    path = ConcatTexts({rootName.get(), ".", path.get()});
  }
  return notNull(path);
}

bool JsonObject::Exists(const char* path) {
  bool exists;
  Qualified(path, &exists);
  return exists;
}

int JsonObject::TypeOf(const char* path) {
  Text target = Qualified(path);
  if (EvaluateLogical(ConcatTexts({target.get(), " == null"}))) return 0;
  Text classText = EvaluateText(ClassOf(target));
  std::string_view kind = classText.view();
  if (kind == "[object String]") return 6;
  if (kind == "[object Array]") return 5;
  if (kind == "[object Object]") return 4;
  if (kind == "[object Number]") return 2;
  if (kind == "[object Boolean]") return 1;
  return -1;
}

Text JsonObject::GetText(const char* path, bool asJson) {
  Text target = Qualified(path);
  if (asJson) return JsonOf(target.get());
  return EvaluateText(ConcatTexts({target.get(), ".toString()", kCarrierToBackslash}));
}

int JsonObject::GetNames(const char* path, TextArray& names) {
  Text target = Qualified(path);
  names = SplitText(EvaluateText(ConcatTexts({"get__name_All(", target.get(), ")"})).get(), "\r\n");
  return static_cast<int>(names.size());
}

int JsonObject::GetCount(const char* path) {
  Text target = Qualified(path);
  return ToInteger(TypedArg::Double(EvaluateNumber(ConcatTexts({"get__count(", target.get(), ")"}))));
}

JsonObject JsonObject::GetObject(const char* path) { return CopyOf(Qualified(path).get()); }

bool JsonObject::AddElement(const char* path, const char* value, bool asJson, bool atFront) {
  Text target = Qualified(path);
  Text element = ElementSource(value, asJson);
  if (element.IsNull()) return false;
  return EvaluateLogical(ConcatTexts({"if (Object.prototype.toString.call(", target.get(), ") != '[object Array]') { ",
                                      target.get(), " = new Array() } ", target.get(),
                                      atFront ? ".unshift(" : ".push(", element.get(), ")"}));
}

JsonObject JsonObject::GetElementObject(const char* path, int index) {
  Text target = Qualified(path);
  return CopyOf(ConcatTexts({target.get(), "[", IndexText(index).get(), "]"}).get());
}

Text JsonObject::GetElementText(const char* path, int index, bool asJson) {
  Text target = Qualified(path);
  Text element = ConcatTexts({target.get(), "[", IndexText(index).get(), "]"});
  if (asJson) return JsonOf(element.get());
  // Only a string element has replace(); any other gives the empty result.
  return EvaluateText(ConcatTexts({element.get(), kCarrierToBackslash}));
}

bool JsonObject::SetElement(const char* path, int index, const char* value, bool asJson) {
  Text target = Qualified(path);
  Text element = ElementSource(value, asJson);
  if (element.IsNull()) return false;
  return EvaluateLogical(ConcatTexts({target.get(), "[", IndexText(index).get(), "] = ", element.get()}));
}

bool JsonObject::RemoveElement(const char* path, int index) {
  Text target = Qualified(path);
  return EvaluateLogical(ConcatTexts({target.get(), ".splice(", IndexText(index).get(), ", 1)"}));
}

bool JsonObject::Delete(const char* path) {
  Text target = Qualified(path);
  return EvaluateLogical(ConcatTexts({"delete ", target.get()}));
}

bool JsonObject::SetNumber(const char* path, double number) {
  Text target = Qualified(path);
  return EvaluateLogical(ConcatTexts({target.get(), " = ", NumberSource(number).get()}));
}

double JsonObject::GetNumber(const char* path) { return EvaluateNumber(Qualified(path)); }

Text JsonObject::PathToJson(const char* path) { return JsonOf(Qualified(path).get()); }

AutomationObject JsonObject::GetScriptObject() {
  AutomationObject holder;
  AssignObject(holder, engine_);
  return holder;
}

int JsonObject::GetAllValues(const char* path, TextArray& values, bool recursive) {
  Text target = Qualified(path);
  Evaluate(Text::Copy("var str_all = new Array()"));
  Evaluate(ConcatTexts({"get__nodeValue(", target.get(), recursive ? ", true)" : ", false)"}));
  // Strings stored with SetText keep their backslashes as the carrier.
  Text joined = EvaluateText(ConcatTexts({"str_all.join('", ListSeparator, "')", kCarrierToBackslash}));
  values = SplitText(joined.get(), ListSeparator);
  return static_cast<int>(values.size());
}

Text JsonObject::Qualified(const char* path, bool* exists) {
  Text copy = Text::Copy(path);
  bool notNull = QualifyPath(copy);
  if (exists) *exists = notNull;
  return copy;
}

Text JsonObject::JsonOf(const char* expression) {
  return EvaluateText(ConcatTexts({"JSON.stringify(", expression, ")", kCarrierToBackslash}));
}

JsonObject JsonObject::CopyOf(const char* expression) {
  JsonObject copy;
  // The carrier travels as the escape \u2400, so the copy keeps it as a
  // carrier: a backslash then reads back the same from both objects.
  Text json = EvaluateText(ConcatTexts({"JSON.stringify(", expression, R"().replace(str_reg, '\\u2400'))"}));
  // Placed as the value itself: our own JSON, and a string stays a string.
  copy.Parse(json.get(), true);
  return copy.Clone();
}

void JsonObject::Evaluate(const Text& code) { CallMethod(engine_, "Eval", {ArgOf(Bounded(code))}); }

bool JsonObject::EvaluateLogical(const Text& code) {
  return CallMethodLogical(engine_, "Eval", {ArgOf(Bounded(code))});
}

Text JsonObject::EvaluateText(const Text& code) { return CallMethodText(engine_, "Eval", {ArgOf(Bounded(code))}); }

double JsonObject::EvaluateNumber(const Text& code) {
  return CallMethodNumber(engine_, "Eval", {ArgOf(Bounded(code))});
}
