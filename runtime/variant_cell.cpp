#include "runtime/variant_cell.h"

#include <cstring>

#include "runtime/array.h"
#include "runtime/automation_values.h"

void ClearVariant(VARIANT& cell) {
  VariantClear(&cell);
  VariantInit(&cell);
}

void CopyVariant(VARIANT& target, const VARIANT* source) {
  ClearVariant(target);
  if (source && FAILED(VariantCopy(&target, const_cast<VARIANT*>(source)))) VariantInit(&target);
}

namespace {

// The array a cell holds (also by reference), or null.
SAFEARRAY* ArrayOf(const VARIANT& cell) {
  if (!(V_VT(&cell) & VT_ARRAY)) return nullptr;
  if (V_VT(&cell) & VT_BYREF) return V_ARRAYREF(&cell) ? *V_ARRAYREF(&cell) : nullptr;
  return V_ARRAY(&cell);
}

VARTYPE ElementTypeOf(const VARIANT& cell) { return V_VT(&cell) & VT_TYPEMASK; }

size_t ElementCount(const SAFEARRAY* array) {
  size_t count = 1;
  for (UINT d = 0; d < array->cDims; ++d) count *= array->rgsabound[d].cElements;
  return count;
}

// 0-based position of a 1-based index; absent or below 1 is the first.
size_t PositionOf(std::optional<int> index) { return index && *index > 1 ? static_cast<size_t>(*index - 1) : 0; }

// Runs `use` on the address of element `position`, when the array has it.
template <typename Use>
bool WithElement(SAFEARRAY* array, size_t position, Use use) {
  void* data = nullptr;
  if (position >= ElementCount(array) || FAILED(SafeArrayAccessData(array, &data))) return false;
  bool done = use(static_cast<uint8_t*>(data) + position * array->cbElements);
  SafeArrayUnaccessData(array);
  return done;
}

// A copy of an element as a cell of its own.
bool ElementAsVariant(SAFEARRAY* array, VARTYPE elementType, size_t position, VARIANT& out) {
  return WithElement(array, position, [&](uint8_t* element) {
    if (elementType == VT_VARIANT) return SUCCEEDED(VariantCopyInd(&out, reinterpret_cast<VARIANT*>(element)));
    VARIANT borrowed;
    VariantInit(&borrowed);
    if (elementType == VT_DECIMAL) {
      std::memcpy(&V_DECIMAL(&borrowed), element, sizeof(DECIMAL));
    } else if (elementType == VT_RECORD || array->cbElements > sizeof(V_I8(&borrowed))) {
      return false;
    } else {
      std::memcpy(&V_I8(&borrowed), element, array->cbElements);
    }
    V_VT(&borrowed) = elementType;
    return SUCCEEDED(VariantCopy(&out, &borrowed));
  });
}

// The value a cell stands for: the cell itself or the chosen array element.
bool TakeValue(const VARIANT& cell, std::optional<int> index, VARIANT& out) {
  if (SAFEARRAY* array = ArrayOf(cell)) return ElementAsVariant(array, ElementTypeOf(cell), PositionOf(index), out);
  if (V_VT(&cell) & VT_ARRAY) return false;
  return SUCCEEDED(VariantCopyInd(&out, const_cast<VARIANT*>(&cell)));
}

// Moves `value`, changed to the element type, into element `position`.
bool StoreElement(SAFEARRAY* array, VARTYPE elementType, size_t position, VARIANT& value) {
  if (elementType == VT_RECORD || (elementType != VT_VARIANT && elementType != VT_DECIMAL &&
                                   array->cbElements > sizeof(V_I8(&value)))) {
    return false;
  }
  if (elementType != VT_VARIANT && FAILED(VariantChangeType(&value, &value, 0, elementType))) return false;
  return WithElement(array, position, [&](uint8_t* element) {
    // What the element held goes; it takes over what the value holds.
    if (elementType == VT_VARIANT) {
      VariantClear(reinterpret_cast<VARIANT*>(element));
      std::memcpy(element, &value, sizeof(VARIANT));
    } else if (elementType == VT_DECIMAL) {
      std::memcpy(element, &V_DECIMAL(&value), sizeof(DECIMAL));
      reinterpret_cast<DECIMAL*>(element)->wReserved = 0;
    } else {
      if (elementType == VT_BSTR) SysFreeString(*reinterpret_cast<BSTR*>(element));
      if ((elementType == VT_DISPATCH || elementType == VT_UNKNOWN) && *reinterpret_cast<IUnknown**>(element)) {
        (*reinterpret_cast<IUnknown**>(element))->Release();
      }
      std::memcpy(element, &V_I8(&value), array->cbElements);
    }
    VariantInit(&value);
    return true;
  });
}

// A one-dimensional array of a runtime array's elements; null when it is
// empty or its kind has no element form.
SAFEARRAY* RuntimeArrayToSafeArray(uint32_t kind, const void* block, VARTYPE& elementType) {
  elementType = VariantTypeOf(kind);
  size_t count = ArrayElementCount(block);
  if (elementType == VT_EMPTY || count == 0) return nullptr;
  SAFEARRAY* array = SafeArrayCreateVector(elementType, 0, static_cast<ULONG>(count));
  void* data = nullptr;
  if (!array || FAILED(SafeArrayAccessData(array, &data))) {
    if (array) SafeArrayDestroy(array);
    return nullptr;
  }
  const uint8_t* source = ArrayElements(block);
  if (kind == ValueType::Text) {
    auto* texts = reinterpret_cast<char* const*>(source);
    for (size_t i = 0; i < count; ++i) static_cast<BSTR*>(data)[i] = TextToBstr(texts[i]);
  } else if (kind == ValueType::Logical) {
    auto* logicals = reinterpret_cast<const int32_t*>(source);
    for (size_t i = 0; i < count; ++i) static_cast<VARIANT_BOOL*>(data)[i] = logicals[i] ? VARIANT_TRUE : VARIANT_FALSE;
  } else {
    std::memcpy(data, source, count * ValueSize(kind));
  }
  SafeArrayUnaccessData(array);
  return array;
}

}  // namespace

Text VariantToText(const VARIANT& cell, std::optional<int> index) {
  VariantCell value;
  if (!TakeValue(cell, index, value.get())) return Text();
  if (value.type() == VT_BOOL) return Text::Copy(V_BOOL(&value.get()) ? "真" : "假");
  if (value.type() != VT_BSTR && FAILED(VariantChangeType(&value.get(), &value.get(), 0, VT_BSTR))) return Text();
  return BstrToText(V_BSTR(&value.get()));
}

Bytes VariantToBytes(const VARIANT& cell, std::optional<int> index) {
  VARTYPE elementType = ElementTypeOf(cell);
  SAFEARRAY* array = ArrayOf(cell);
  if (array && (elementType == VT_UI1 || elementType == VT_I1)) return SafeArrayToBytes(array);
  VariantCell value;
  if (!TakeValue(cell, index, value.get()) ||
      FAILED(VariantChangeType(&value.get(), &value.get(), 0, VT_ARRAY | VT_UI1))) {
    return Bytes();
  }
  return SafeArrayToBytes(V_ARRAY(&value.get()));
}

bool SetVariant(VARIANT& cell, const TypedArg& value, std::optional<int> index) {
  if (value.IsAbsent()) {
    ClearVariant(cell);
    return true;
  }
  if (value.type == ValueType::Bytes || value.IsReference()) {
    ClearVariant(cell);
    VARTYPE elementType = VT_UI1;
    SAFEARRAY* array = value.type == ValueType::Bytes
                           ? (Bytes::SizeOf(value.Pointer<void>()) ? BytesToSafeArray(value.Pointer<void>()) : nullptr)
                           : RuntimeArrayToSafeArray(value.BaseType(), value.Pointer<void>(), elementType);
    if (!array) return false;
    V_VT(&cell) = VT_ARRAY | elementType;
    V_ARRAY(&cell) = array;
    return true;
  }
  VARIANT converted;
  VariantInit(&converted);
  ValueToVariant(value, converted, ObjectCell::Unknown);
  if (SAFEARRAY* array = ArrayOf(cell)) {
    bool stored = StoreElement(array, ElementTypeOf(cell), PositionOf(index), converted);
    VariantClear(&converted);
    return stored;
  }
  VariantClear(&cell);
  cell = converted;
  return true;
}
