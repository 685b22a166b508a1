// An automation object that accepts any member name and writes down every
// call it receives, for checking which calls a component makes, in which
// order and with which arguments. It describes no type, so callers' calls
// arrive as they make them. Every call succeeds and gives no value unless
// an answer or a failure was set for the member.
#pragma once
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/variant_cell.h"
#include "support/test_dispatch.h"

struct RecordedCall {
  std::string name;  // as the caller spelled it
  WORD flags = 0;    // DISPATCH_METHOD, DISPATCH_PROPERTYGET, ...
  // In the member's order (for a put, the new value last): texts in GBK,
  // numbers in decimal, logicals "true" or "false", byte arrays as their bytes.
  std::vector<std::string> args;

  bool operator==(const RecordedCall&) const = default;
};

// name(flags): args, for test failure messages.
std::ostream& operator<<(std::ostream& out, const RecordedCall& call);

class RecordingObject final : public TestDispatch {
 public:
  // Calls are appended to `log`, which must outlive the object.
  explicit RecordingObject(std::vector<RecordedCall>& log) : log_(log) {}

  // What every later call of the member (spelled exactly so) gives.
  void Answer(const std::string& name, const TypedArg& value) { SetVariant(answers_[name].get(), value); }
  // Makes every later call of the member fail with the code (still recorded).
  void Fail(const std::string& name, HRESULT code) { failures_[name] = code; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;

 private:
  std::vector<RecordedCall>& log_;
  std::vector<std::wstring> names_;  // DISPID n is names_[n - 1]
  std::map<std::string, VariantCell> answers_;
  std::map<std::string, HRESULT> failures_;
};
