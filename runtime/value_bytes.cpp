#include "runtime/value_bytes.h"

#include "runtime/array.h"
#include "runtime/bytes.h"

std::string_view ValueBytes(const TypedArg& value, uint64_t& scalar) {
  if (value.IsReference()) {
    uint32_t element = value.BaseType();
    auto* block = value.Pointer<const void>();
    if (!block || !IsNumericType(element)) return {};
    return {reinterpret_cast<const char*>(ArrayElements(block)), ArrayElementCount(block) * ValueSize(element)};
  }
  switch (value.type) {
    case ValueType::Text:
      return TextView(value.Pointer<const char>());
    case ValueType::Bytes:
      return Bytes::ViewOf(value.Pointer<const void>());
    default:
      scalar = value.Bits();
      return {reinterpret_cast<const char*>(&scalar), ValueSize(value.type)};
  }
}

Text TextBeforeZero(std::string_view bytes) { return Text::Copy(bytes.substr(0, bytes.find('\0'))); }
