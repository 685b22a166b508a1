// JsonObject: reads and builds JSON documents in the platform's script
// control running JavaScript. The document lives in one variable of the
// engine (`rootName`, "da"); each operation is a short expression the engine
// evaluates. A path is a JavaScript member expression relative to that
// variable ("dom", "inf.name", "[0]", "list[2].url"); see QualifyPath.
//
// What callers pass in, and what reaches the engine:
// - document texts (Parse, and values "as JSON" of SetText, AddElement and
//   SetElement) must be exactly one literal value (script/json_literal_check.h);
//   anything else is refused before the engine sees it, so no code hidden in
//   a document can ever run;
// - plain text values are escaped into script strings, so they are stored
//   exactly as given;
// - paths, `rootName` and the expression of SetExpression are script code
//   and run as written: they must come from the program, never from data;
// - no statement longer than kLargestScriptSource reaches the engine: a
//   longer document or value fails like any bad input.
//
// Backslashes in texts stored as strings are kept inside the engine as
// U+2400 and given back as backslashes by every read, so they come back
// unchanged and JSON output shows them single.
//
// Failures are silent: a failed operation gives false, a null text, 0 or an
// empty object. Many statements have no logical value at all (an assignment
// of a string or number, push, splice): their operations give false even
// when the statement worked.
#pragma once
#include "runtime/array.h"
#include "runtime/automation_object.h"
#include "runtime/com_scope.h"
#include "runtime/text.h"
#include "script/script_error.h"

// The GDI header names its object query this way; here it is an operation.
#undef GetObject

// Joins the values of GetAllValues on their way out of the engine; a value
// that contains it comes back as two.
inline constexpr char ListSeparator[] = "[2020年7月20日20时0分0秒]";

// The engine's parser needs about seven times a statement's length in
// memory, and the platform's has crashed on statements of a few hundred MiB.
inline constexpr size_t kLargestScriptSource = 16 << 20;

class JsonObject {
 public:
  // Starts the engine with an empty document. COM stays initialised on the
  // thread for the life of the object.
  JsonObject();
  JsonObject& operator=(const JsonObject&) = delete;
  ~JsonObject() = default;

  // A new object sharing this one's engine, with its own copy of rootName.
  JsonObject Clone() const { return JsonObject(*this); }

  // Creates a new engine (dropping this one's), loads the support script and
  // declares rootName as {}. When the engine cannot be created the object
  // stays without one and every operation gives its empty result.
  void Start();

  // Replaces the document by `text` in a fresh engine. `literal` true places
  // the text as the value itself, false as the argument of eval(), where a
  // text that is one string as a whole is refused (eval would run its
  // contents). True when the document is not null afterwards.
  // With `wantError`, `error` receives why it failed, or a clean record
  // (number 0) after success. A text that is not exactly one literal value
  // is refused without being evaluated: number 0x800A03EA (as the engine's
  // syntax errors), source "JSON", a description of the fault, and the line
  // of `text` with the fault's position in it.
  bool Parse(const char* text, bool literal = false, ScriptError* error = nullptr, bool wantError = false);

  // Empties the document to {}.
  bool Clear();
  // JSON of the whole document.
  Text ToJson();

  // Stores `value` at the path: as a JSON literal value (empty meaning {};
  // into an existing object its members are merged), or as a string.
  bool SetText(const char* path, const char* value, bool asJson = false);
  // Stores the value of the JavaScript `expression`. The expression is code
  // and runs as it is written: never pass text that came from outside.
  bool SetExpression(const char* path, const char* expression);

  // Rewrites `path` into a member expression of rootName: a path that
  // begins with rootName and is not null stays as it is; otherwise an empty
  // path becomes rootName, "[..." becomes rootName + "[...", any other path
  // rootName + "." + path. True when the rewritten path is not null.
  bool QualifyPath(Text& path);
  // True when the value at the path is not null (nor undefined).
  bool Exists(const char* path);
  // 0 null or missing, 1 logical, 2 number, 4 object, 5 array, 6 string,
  // -1 anything else.
  int TypeOf(const char* path);
  // The value as text (numbers and logicals included), or as JSON; null
  // when the path has no value.
  Text GetText(const char* path, bool asJson = false);
  // The member names of the object (or indexes of the array) at the path.
  int GetNames(const char* path, TextArray& names);
  // The length of the array at the path; 0 for anything else.
  int GetCount(const char* path);
  // A new object, with its own engine, holding a copy of the value.
  JsonObject GetObject(const char* path);
  // Appends (or, with `atFront`, prepends) a JSON literal value or a string
  // to the array at the path; any other value there is first replaced by a
  // new empty array.
  bool AddElement(const char* path, const char* value, bool asJson = false, bool atFront = false);
  // As GetObject, for element `index` (0-based) of the array at the path.
  JsonObject GetElementObject(const char* path, int index);
  // Element `index` as JSON, or as text when it is a string (null for other
  // elements).
  Text GetElementText(const char* path, int index, bool asJson = false);
  bool SetElement(const char* path, int index, const char* value, bool asJson = false);
  bool RemoveElement(const char* path, int index);
  // True when the member was removed.
  bool Delete(const char* path);
  // Stores the number, written so that it reads back exactly.
  bool SetNumber(const char* path, double number);
  // The number at the path; 0 for anything that is not a number.
  double GetNumber(const char* path);
  // JSON of the value at the path.
  Text PathToJson(const char* path);
  // A new holder sharing the engine.
  AutomationObject GetScriptObject();
  // The string, number and logical values in the object or array at the
  // path, in document order; with `recursive` also those of the objects and
  // arrays inside it.
  int GetAllValues(const char* path, TextArray& values, bool recursive = false);

  // The engine's variable that holds the document. Script code: it takes
  // effect at the next Start (Parse starts the engine again).
  Text rootName;

 private:
  JsonObject(const JsonObject& source);

  // A qualified copy of `path`; `exists` receives QualifyPath's result.
  Text Qualified(const char* path, bool* exists = nullptr);
  // JSON of the value of a script expression.
  Text JsonOf(const char* expression);
  // A new object holding a copy of the value of a script expression.
  JsonObject CopyOf(const char* expression);

  void Evaluate(const Text& code);
  bool EvaluateLogical(const Text& code);
  Text EvaluateText(const Text& code);
  double EvaluateNumber(const Text& code);

  ComScope com_;  // before the engine: COM stays up until it is released
  AutomationObject engine_;
};
