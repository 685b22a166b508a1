#include "runtime/automation_calls.h"

#include "runtime/automation_values.h"

// Grouped by result kind: each conversion of the result cell, then the
// property read and the method call that use it.

// Invokes and hands the result cell, and whether the call succeeded, to
// the conversion.
template <typename Convert>
static auto Invoke(AutomationObject& holder, const char* name, WORD flags, ArgList args, Convert convert) {
  VariantCell result;
  bool succeeded = SUCCEEDED(InvokeByName(holder, name, flags, args, &result.get()));
  return convert(result, succeeded);
}

static Text ResultText(VariantCell& result, bool succeeded) {
  if (!succeeded) return Text();
  VARIANT& cell = result.get();
  if (V_VT(&cell) != VT_BSTR && FAILED(VariantChangeType(&cell, &cell, 0, VT_BSTR))) return Text();
  return BstrToText(V_BSTR(&cell));
}

Text GetPropertyText(AutomationObject& holder, const char* name, ArgList args) {
  return Invoke(holder, name, DISPATCH_PROPERTYGET, args, ResultText);
}

Text CallMethodText(AutomationObject& holder, const char* name, ArgList args) {
  return Invoke(holder, name, DISPATCH_METHOD, args, ResultText);
}

static double ResultNumber(VariantCell& result, bool) {
  VARIANT& cell = result.get();
  if ((V_VT(&cell) & VT_BYREF) && FAILED(VariantCopyInd(&cell, &cell))) return 0.0;
  double number = 0.0;
  switch (V_VT(&cell)) {
    case VT_I1: return V_I1(&cell);
    case VT_UI1: return V_UI1(&cell);
    case VT_I2: return V_I2(&cell);
    case VT_UI2: return V_UI2(&cell);
    case VT_I4: return V_I4(&cell);
    case VT_UI4: return V_UI4(&cell);
    case VT_INT: return V_INT(&cell);
    case VT_UINT: return V_UINT(&cell);
    case VT_I8: return static_cast<double>(V_I8(&cell));
    case VT_UI8: return static_cast<double>(V_UI8(&cell));
    case VT_R4: return V_R4(&cell);
    case VT_R8: return V_R8(&cell);
    case VT_DATE: return V_DATE(&cell);
    case VT_CY: VarR8FromCy(V_CY(&cell), &number); return number;
    case VT_DECIMAL: VarR8FromDec(&V_DECIMAL(&cell), &number); return number;
    case VT_BOOL: VarR8FromBool(V_BOOL(&cell), &number); return number;
    default: return 0.0;  // strings included
  }
}

double GetPropertyNumber(AutomationObject& holder, const char* name, ArgList args) {
  return Invoke(holder, name, DISPATCH_PROPERTYGET, args, ResultNumber);
}

double CallMethodNumber(AutomationObject& holder, const char* name, ArgList args) {
  return Invoke(holder, name, DISPATCH_METHOD, args, ResultNumber);
}

static AutomationObject ResultObject(VariantCell& result, bool) {
  AutomationObject object;
  const VARIANT& cell = result.get();
  IUnknown* value = nullptr;
  switch (V_VT(&cell)) {
    case VT_DISPATCH:
    case VT_UNKNOWN: value = V_UNKNOWN(&cell); break;
    case VT_BYREF | VT_DISPATCH:
    case VT_BYREF | VT_UNKNOWN: value = V_UNKNOWNREF(&cell) ? *V_UNKNOWNREF(&cell) : nullptr; break;
    default: break;
  }
  if (value) value->AddRef();
  object.Adopt(value);
  return object;
}

AutomationObject GetPropertyObject(AutomationObject& holder, const char* name, ArgList args) {
  return Invoke(holder, name, DISPATCH_PROPERTYGET, args, ResultObject);
}

AutomationObject CallMethodObject(AutomationObject& holder, const char* name, ArgList args) {
  return Invoke(holder, name, DISPATCH_METHOD, args, ResultObject);
}

VariantCell GetPropertyVariant(AutomationObject& holder, const char* name, ArgList args) {
  VariantCell result;
  InvokeByName(holder, name, DISPATCH_PROPERTYGET, args, &result.get());
  return result;
}

bool CallMethodLogical(AutomationObject& holder, const char* name, ArgList args) {
  VariantCell result;
  InvokeByName(holder, name, DISPATCH_METHOD, args, &result.get());
  return result.type() == VT_BOOL && V_BOOL(&result.get()) != VARIANT_FALSE;
}

void CallMethod(AutomationObject& holder, const char* name, ArgList args) {
  VariantCell dropped;
  InvokeByName(holder, name, DISPATCH_METHOD, args, &dropped.get());
}

void PutProperty(AutomationObject& holder, const char* name, ArgList args) {
  InvokeByName(holder, name, DISPATCH_PROPERTYPUT, args, nullptr);
}
