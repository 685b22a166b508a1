// TEST SCAFFOLDING ONLY: see script_control_driver.h.
#include "script/script_control_driver.h"

#include <oleauto.h>

namespace {

std::wstring ToText(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
      return L"undefined";
    case VT_NULL:
      return L"null";
    case VT_BOOL:
      return value.boolVal ? L"true" : L"false";
    case VT_BSTR:
      return std::wstring(value.bstrVal, SysStringLen(value.bstrVal));
    case VT_DISPATCH:
      return L"[object]";
  }
  VARIANT text;
  VariantInit(&text);
  std::wstring result = L"[unconvertible]";
  if (SUCCEEDED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(&value), LOCALE_INVARIANT, 0, VT_BSTR)))
    result.assign(text.bstrVal, SysStringLen(text.bstrVal));
  VariantClear(&text);
  return result;
}

VARIANT TextVariant(std::wstring_view text) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return value;
}

}  // namespace

ScriptControlDriver::ScriptControlDriver() {
  comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(L"MSScriptControl.ScriptControl", &clsid))) return;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&control_));
}

ScriptControlDriver::~ScriptControlDriver() {
  if (control_) control_->Release();
  if (comInitialized_) CoUninitialize();
}

ScriptControlDriver::Result ScriptControlDriver::Invoke(const wchar_t* member, WORD flags, VARIANT* argument) {
  Result result;
  if (!control_) return result;
  DISPID id;
  LPOLESTR name = const_cast<LPOLESTR>(member);
  if (FAILED(control_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return result;
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params = {argument, nullptr, argument ? 1u : 0u, 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  VARIANT value;
  VariantInit(&value);
  EXCEPINFO exception = {};
  HRESULT hr = control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &value, &exception, nullptr);
  result.hr = hr;
  result.ok = SUCCEEDED(hr);
  if (result.ok) result.text = ToText(value);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  VariantClear(&value);
  return result;
}

ScriptControlDriver::Result ScriptControlDriver::InvokeWithText(const wchar_t* member, WORD flags,
                                                               std::wstring_view text) {
  VARIANT argument = TextVariant(text);
  Result result = Invoke(member, flags, &argument);
  VariantClear(&argument);
  return result;
}

ScriptControlDriver::Result ScriptControlDriver::PutText(const wchar_t* property, std::wstring_view value) {
  return InvokeWithText(property, DISPATCH_PROPERTYPUT, value);
}

ScriptControlDriver::Result ScriptControlDriver::PutBool(const wchar_t* property, bool value) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BOOL;
  argument.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return Invoke(property, DISPATCH_PROPERTYPUT, &argument);
}

ScriptControlDriver::Result ScriptControlDriver::AddCode(std::wstring_view code) {
  return InvokeWithText(L"AddCode", DISPATCH_METHOD, code);
}

ScriptControlDriver::Result ScriptControlDriver::Eval(std::wstring_view expression) {
  return InvokeWithText(L"Eval", DISPATCH_METHOD, expression);
}
