#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "runtime/conversions.h"
#include "runtime/date_text.h"
#include "runtime/value_bytes.h"

namespace {

std::string Decimal(int64_t value) {
  char buffer[24];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// What the platform's "%f" prints for infinities and NaNs ("1.#INF00",
// "1.#QNAN0"), with its trailing zeros already cut: the indeterminate NaN
// (sign set, nothing but the quiet bit) is "-1.#IND", a NaN without the
// quiet bit "1.#SNAN".
std::string SpecialValue(double value) {
  const std::string sign = std::signbit(value) ? "-" : "";
  if (std::isinf(value)) return sign + "1.#INF";
  const auto bits = std::bit_cast<uint64_t>(value);
  constexpr uint64_t kMantissa = (uint64_t{1} << 52) - 1;
  constexpr uint64_t kQuietBit = uint64_t{1} << 51;
  if ((bits & kQuietBit) == 0) return sign + "1.#SNAN";
  if (std::signbit(value) && (bits & kMantissa) == kQuietBit) return "-1.#IND";
  return sign + "1.#QNAN";
}

// "%f", then trailing zeros cut, and the point too when nothing follows it.
std::string Fixed(double value) {
  if (!std::isfinite(value)) return SpecialValue(value);
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
