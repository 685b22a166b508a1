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
    case ValueType::Logical:
      V_VT(&cell) = VT_BOOL;
      V_BOOL(&cell) = value.Uint32() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    default:
      // Numbers, date-times and routine addresses keep their own bytes;
      // kinds without an automation form leave the cell empty.
      if (uint32_t size = ValueSize(value.type)) {
        uint64_t bits = value.Bits();
        std::memcpy(&V_I8(&cell), &bits, size);
        V_VT(&cell) = VariantTypeOf(value.type);
      }
      return;
  }
}

TypedArg CurrentValue(const TypedArg& reference) {
  uint32_t kind = reference.BaseType();
  if (!reference.value) return {0, 0, kind};
  switch (kind) {
    case ValueType::Text: return TypedArg::OfText(reference.Pointer<Text>()->get());
    case ValueType::Bytes: return TypedArg::OfBytes(reference.Pointer<Bytes>()->block());
    case ValueType::Logical: return TypedArg::Logical(*reference.Pointer<bool>());
    case ValueType::Object:
    case ValueType::Variant: return {reference.value, 0, kind};  // the same address
    default: {
      uint64_t bits = 0;
      std::memcpy(&bits, reference.Pointer<void>(), ValueSize(kind));
      return TypedArg::FromBits(bits, kind);
    }
  }
}
