// An automation object of the tests' own: a hand-written IDispatch that
// records how it was called, described by type information built at run
// time, so that the bridge's type probe and by-reference handling can be
// watched from both sides.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "support/test_dispatch.h"

// Class id of ProbeObject while RegisterProbeClass is in effect.
extern const CLSID kProbeClassId;
inline constexpr const wchar_t* kProbeClassIdText = L"{5B8D2B0E-6C1F-4D8A-9E51-0A7C3F2D4E61}";

// Members, with their declarations in the type information:
enum ProbeMember : DISPID {
  kEcho = 1,    // method Echo([in, out] BSTR* text): appends "!"
  kChild = 2,   // variable Child: IDispatch* declared by reference
  kToggle = 3,  // method Toggle([in, out] VARIANT_BOOL* flag): negates
  kPlain = 4,   // variable Plain: BSTR, "plain value"
  kRecord = 5,  // method Record(VARIANT, VARIANT, VARIANT): returns the integer 1
  kTwice = 6,   // method Twice([in, out] long* value): doubles
  kSwap = 7,    // method Swap([in, out] IDispatch** object): puts a new ProbeObject there
  kSize = 8,    // property Size: the put function is declared before the get
  kStore = 9,   // variable Store: VARIANT, keeps a copy of what is put
};

// What the last Invoke received.
struct ProbeCall {
  DISPID member = DISPID_UNKNOWN;
  WORD flags = 0;
  std::vector<VARTYPE> cellTypes;  // in DISPPARAMS order (last argument first)
  std::vector<DISPID> named;
  std::wstring firstText;          // the text of the last cell, when it is a string
};

class ProbeObject final : public TestDispatch {
 public:
  // `describeType`: whether GetTypeInfo offers the type information.
  explicit ProbeObject(bool describeType = true) : describeType_(describeType) {}

  ProbeCall lastCall;
  IDispatch* child = nullptr;
  long size = 0;
  VARIANT store{};

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;

 private:
  ~ProbeObject() override;
  HRESULT Act(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result);

  bool describeType_;
};

// Makes CoCreateInstance of kProbeClassId give new ProbeObjects for the
// life of the registration.
class RegisterProbeClass : public ScopedClassObject {
 public:
  RegisterProbeClass();
};
