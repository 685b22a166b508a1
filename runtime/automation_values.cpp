#include "runtime/automation_values.h"

#include <cstring>

#include "runtime/automation_object.h"
#include "runtime/codepage.h"

BSTR TextToBstr(const char* text) {
  if (!text) return nullptr;
  int length = static_cast<int>(TextLength(text));
  int count = length ? MultiByteToWideChar(kTextCodePage, 0, text, length, nullptr, 0) : 0;
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(count));
  if (result && count) MultiByteToWideChar(kTextCodePage, 0, text, length, result, count);
  return result;
}

Text BstrToText(BSTR text) {
  if (!text) return Text();
  int length = static_cast<int>(SysStringLen(text));
  int count = length ? WideCharToMultiByte(kTextCodePage, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
  Text result = Text::Allocate(static_cast<size_t>(count));
  if (count) WideCharToMultiByte(kTextCodePage, 0, text, length, result.data(), count, nullptr, nullptr);
  return result;
}

SAFEARRAY* BytesToSafeArray(const void* bytesBlock) {
  size_t size = Bytes::SizeOf(bytesBlock);
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(size));
  void* data = nullptr;
  if (array && size && SUCCEEDED(SafeArrayAccessData(array, &data))) {
    std::memcpy(data, Bytes::DataOf(bytesBlock), size);
    SafeArrayUnaccessData(array);
  }
  return array;
}

Bytes SafeArrayToBytes(SAFEARRAY* array) {
  if (!array) return Bytes();
  size_t count = 1;
  for (UINT d = 0; d < array->cDims; ++d) count *= array->rgsabound[d].cElements;
  void* data = nullptr;
  if (count == 0 || FAILED(SafeArrayAccessData(array, &data))) return Bytes();
  Bytes bytes = Bytes::Copy(data, count * array->cbElements);
  SafeArrayUnaccessData(array);
  return bytes;
}

VARTYPE VariantTypeOf(uint32_t kind) {
  switch (kind) {
    case ValueType::Byte: return VT_UI1;
    case ValueType::Short: return VT_I2;
    case ValueType::Int: return VT_I4;
    case ValueType::Long: return VT_I8;
    case ValueType::Float: return VT_R4;
    case ValueType::Double: return VT_R8;
    case ValueType::Logical: return VT_BOOL;
    case ValueType::DateTime: return VT_DATE;
    case ValueType::Text: return VT_BSTR;
    case ValueType::Routine: return VT_UI4;
    default: return VT_EMPTY;
  }
}

namespace {

void ObjectToVariant(const AutomationObject* holder, VARIANT& cell, ObjectCell objectCell) {
  IUnknown* object = holder ? holder->iface : nullptr;
  IDispatch* dispatch = nullptr;
  if (object && objectCell == ObjectCell::Dispatch &&
      SUCCEEDED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    V_VT(&cell) = VT_DISPATCH;
    V_DISPATCH(&cell) = dispatch;
    return;
  }
  // An empty holder still passes an object cell: the "nothing" object.
  V_VT(&cell) = objectCell == ObjectCell::Dispatch && !object ? VT_DISPATCH : VT_UNKNOWN;
  V_UNKNOWN(&cell) = object;
  if (object) object->AddRef();
}

}  // namespace

void ValueToVariant(const TypedArg& value, VARIANT& cell, ObjectCell objectCell) {
  switch (value.type) {
    case ValueType::None:
      V_VT(&cell) = VT_ERROR;
      V_ERROR(&cell) = DISP_E_PARAMNOTFOUND;
      return;
    case ValueType::Object: ObjectToVariant(value.Pointer<AutomationObject>(), cell, objectCell); return;
    case ValueType::Variant:
      if (value.value && FAILED(VariantCopy(&cell, value.Pointer<VARIANT>()))) VariantInit(&cell);
      return;
    case ValueType::Text:
      V_VT(&cell) = VT_BSTR;
      V_BSTR(&cell) = TextToBstr(value.Pointer<const char>());
      return;
    case ValueType::Bytes:
      V_VT(&cell) = VT_ARRAY | VT_UI1;
      V_ARRAY(&cell) = BytesToSafeArray(value.Pointer<const void>());
      return;
    case ValueType::Logical: V_BOOL(&cell) = value.Uint32() ? VARIANT_TRUE : VARIANT_FALSE; break;
    case ValueType::Byte: V_UI1(&cell) = static_cast<BYTE>(value.value); break;
    case ValueType::Short: V_I2(&cell) = static_cast<SHORT>(value.value); break;
    case ValueType::Int: V_I4(&cell) = value.Int32(); break;
    case ValueType::Routine: V_UI4(&cell) = value.Uint32(); break;
    case ValueType::Long: V_I8(&cell) = value.Int64(); break;
    case ValueType::Float: V_R4(&cell) = value.AsFloat(); break;
    case ValueType::Double: V_R8(&cell) = value.AsDouble(); break;
    case ValueType::DateTime: V_DATE(&cell) = value.AsDouble(); break;
    default: return;  // no automation form: the cell stays empty
  }
  V_VT(&cell) = VariantTypeOf(value.type);
}

TypedArg CurrentValue(const TypedArg& reference) {
  uint32_t kind = reference.type & ~ValueType::ByRef;
  if (!reference.value) return {0, 0, kind};
  switch (kind) {
    case ValueType::Text: return TypedArg::OfText(reference.Pointer<Text>()->get());
    case ValueType::Bytes: return TypedArg::OfBytes(reference.Pointer<Bytes>()->block());
    case ValueType::Logical: return TypedArg::Logical(*reference.Pointer<bool>());
    case ValueType::Byte: return TypedArg::Byte(*reference.Pointer<uint8_t>());
    case ValueType::Short: return TypedArg::Short(*reference.Pointer<int16_t>());
    case ValueType::Int: return TypedArg::Int(*reference.Pointer<int32_t>());
    case ValueType::Routine: return TypedArg::Routine(*reference.Pointer<uint32_t>());
    case ValueType::Long: return TypedArg::Long(*reference.Pointer<int64_t>());
    case ValueType::Float: return TypedArg::Float(*reference.Pointer<float>());
    case ValueType::Double: return TypedArg::Double(*reference.Pointer<double>());
    case ValueType::DateTime: return TypedArg::DateTime(*reference.Pointer<double>());
    default: return {reference.value, reference.high, kind};  // objects and variants: the same address
  }
}
