#include "runtime/conversions.h"
#include "runtime/value_bytes.h"

Bytes ToBytes(const TypedArg& value) {
  uint64_t scalar;
  return Bytes::Copy(ValueBytes(value, scalar));
}

Text BytesToText(const TypedArg& value) {
  if (value.type != ValueType::Bytes && !value.IsReference()) return Text();
  uint64_t scalar;
  return TextBeforeZero(ValueBytes(value, scalar));
}
