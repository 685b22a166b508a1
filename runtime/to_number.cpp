#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "runtime/conversions.h"
#include "runtime/text_match.h"

namespace {

constexpr LCID kChineseLocale = 2052;

// Toward zero through a 64-bit integer; magnitudes of 2^63 or more (and NaN)
// give 0.
int64_t TruncateToInt64(double value) {
  return std::fabs(value) < 0x1p63 ? static_cast<int64_t>(value) : 0;
}

int64_t TruncateValue(const TypedArg& value) {
  return TruncateToInt64(value.type == ValueType::Float ? value.AsFloat() : value.AsDouble());
}

bool IsFloating(uint32_t type) { return type == ValueType::Float || type == ValueType::Double; }

// Leading blanks, an optional sign and decimal digits; out-of-range values
// are clamped to the int range.
int32_t ParseInteger(const TypedArg& value) {
  return std::strtol(NormaliseNumberText(value.Pointer<const char>()).c_str(), nullptr, 10);
}

double ParseDouble(const TypedArg& value) {
  return std::strtod(NormaliseNumberText(value.Pointer<const char>()).c_str(), nullptr);
}

}  // namespace

std::string NormaliseNumberText(const char* text) {
  std::string_view source = TextView(text);
  std::string plain;
  plain.reserve(source.size());
  for (size_t at = 0; at < source.size(); at += CharacterSize(source[at])) {
    std::string_view character = source.substr(at, CharacterSize(source[at]));
    if (character == "／") {
      plain += '/';
    } else if (character == "＼") {
      plain += '\\';
    } else {
      plain += character;
    }
  }
  if (plain.empty()) return plain;
  auto plainSize = static_cast<int>(plain.size());
  int size = LCMapStringA(kChineseLocale, LCMAP_HALFWIDTH, plain.data(), plainSize, nullptr, 0);
  if (size <= 0) return plain;
  std::string mapped(static_cast<size_t>(size), '\0');
  LCMapStringA(kChineseLocale, LCMAP_HALFWIDTH, plain.data(), plainSize, mapped.data(), size);
  return mapped;
}

int32_t ToInteger(const TypedArg& value) {
  switch (value.type) {
    case ValueType::Logical:
    case ValueType::Int:
    case ValueType::Routine:
    case ValueType::Long: return value.Int32();
    case ValueType::Byte: return static_cast<uint8_t>(value.value);
    case ValueType::Short: return static_cast<int16_t>(value.value);
    case ValueType::Float:
    case ValueType::Double: return static_cast<int32_t>(TruncateValue(value));
    case ValueType::Text: return ParseInteger(value);
    default: return 0;
  }
}

uint8_t ToByteValue(const TypedArg& value) {
  if (value.type == ValueType::Text) return static_cast<uint8_t>(ParseInteger(value));
  if (IsFloating(value.type)) return static_cast<uint8_t>(TruncateValue(value));
  return static_cast<uint8_t>(value.value);
}

int16_t ToShortValue(const TypedArg& value) {
  switch (value.type) {
    case ValueType::Text: return static_cast<int16_t>(ParseInteger(value));
    case ValueType::Byte: return static_cast<uint8_t>(value.value);
    case ValueType::Short:
    case ValueType::Int:
    case ValueType::Long: return static_cast<int16_t>(value.value);
    case ValueType::Float:
    case ValueType::Double: return static_cast<int16_t>(TruncateValue(value));
    default: return 0;
  }
}

float ToFloatValue(const TypedArg& value) {
  switch (value.type) {
    case ValueType::Int:
    case ValueType::Logical:
    case ValueType::Routine: return static_cast<float>(value.Int32());
    case ValueType::Byte: return static_cast<uint8_t>(value.value);
    case ValueType::Short: return static_cast<int16_t>(value.value);
    case ValueType::Long: return static_cast<float>(value.Int64());
    case ValueType::Float: return value.AsFloat();
    case ValueType::Double: return static_cast<float>(value.AsDouble());
    case ValueType::Text: return static_cast<float>(ParseDouble(value));
    default: return 0;
  }
}

double ToDoubleValue(const TypedArg& value) {
  switch (value.type) {
    case ValueType::Byte: return static_cast<uint8_t>(value.value);
    case ValueType::Short: return static_cast<int16_t>(value.value);
    case ValueType::Long: return static_cast<double>(value.Int64());
    case ValueType::Float: return value.AsFloat();
    case ValueType::DateTime:
    case ValueType::Double: return value.AsDouble();
    case ValueType::Text: return ParseDouble(value);
    default: return value.Int32();
  }
}
