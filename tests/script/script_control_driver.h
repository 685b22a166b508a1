// TEST SCAFFOLDING ONLY. A minimal late-bound driver for the platform
// script control, so tests can run JavaScript in the real engine before the
// product's automation bridge exists. Product code never uses this.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

class ScriptControlDriver {
 public:
  // Outcome of one call: `ok` is false when the call failed (`hr` says
  // how); `text` holds the value as text (strings as they are, true/false,
  // numbers in the invariant locale, "undefined", "null", "[object]").
  struct Result {
    bool ok = false;
    HRESULT hr = E_FAIL;
    std::wstring text;
  };

  // Creates the control; created() tells whether that worked.
  ScriptControlDriver();
  ~ScriptControlDriver();
  ScriptControlDriver(const ScriptControlDriver&) = delete;
  ScriptControlDriver& operator=(const ScriptControlDriver&) = delete;

  bool created() const { return control_ != nullptr; }
  Result PutText(const wchar_t* property, std::wstring_view value);
  Result PutBool(const wchar_t* property, bool value);
  Result AddCode(std::wstring_view code);
  Result Eval(std::wstring_view expression);

 private:
  Result Invoke(const wchar_t* member, WORD flags, VARIANT* argument);
  Result InvokeWithText(const wchar_t* member, WORD flags, std::wstring_view text);

  bool comInitialized_ = false;
  IDispatch* control_ = nullptr;
};
