#include <charconv>
#include <string_view>

#include "runtime/conversions.h"
#include "runtime/date_text.h"
#include "runtime/value_bytes.h"

namespace {

std::string Decimal(int64_t value) {
  char buffer[24];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// "%f", then trailing zeros cut, and the point too when nothing follows it.
std::string Fixed(double value) {
  char buffer[400];  // the largest double has 309 digits before the point
  std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6).ptr);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

bool IsByteToLongArray(uint32_t element) {
  return element == ValueType::Byte || element == ValueType::Short || element == ValueType::Int ||
         element == ValueType::Long;
}

}  // namespace

std::string ScalarText(const TypedArg& value) {
  switch (value.type) {
    case ValueType::Logical: return value.Uint32() ? "真" : "假";
    case ValueType::Int:
    case ValueType::Routine: return Decimal(value.Int32());
    case ValueType::Byte: return Decimal(static_cast<uint8_t>(value.value));
    case ValueType::Short: return Decimal(static_cast<int16_t>(value.value));
    case ValueType::Long: return Decimal(value.Int64());
    case ValueType::Float: return Fixed(value.AsFloat());
    case ValueType::Double: return Fixed(value.AsDouble());
    case ValueType::DateTime: return FormatDateTime(value.AsDouble());
    default: return {};
  }
}

Text ToText(const TypedArg& value) {
  uint64_t scalar;
  if (value.IsReference()) {
    return IsByteToLongArray(value.BaseType()) ? TextBeforeZero(ValueBytes(value, scalar)) : Text();
  }
  switch (value.type) {
    case ValueType::Text: return Text::Copy(value.Pointer<const char>());
    case ValueType::Bytes: return TextBeforeZero(ValueBytes(value, scalar));
    default: return Text::Copy(ScalarText(value));
  }
}
