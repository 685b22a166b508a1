// Type codes and the typed argument triple through which generic commands
// receive values of any kind.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>

namespace ValueType {
enum : uint32_t {
  None = 0,  // an optional argument that was not given
  Byte = 0x80000101,
  Short = 0x80000201,
  Int = 0x80000301,
  Long = 0x80000401,
  Float = 0x80000501,
  Double = 0x80000601,
  Logical = 0x80000002,
  DateTime = 0x80000003,  // days since 1899-12-30 as a double
  Text = 0x80000004,
  Bytes = 0x80000005,
  Routine = 0x80000006,  // a code address, read as an unsigned 32-bit number
  Object = 0x00010030,   // an AutomationObject holder
  Variant = 0x00010031,  // a VARIANT cell
};
// Or-ed into a code: the value is the address of the caller's variable (or,
// in conversions, an array block of that element kind).
inline constexpr uint32_t ByRef = 0x20000000;
}  // namespace ValueType

inline constexpr bool IsNumericType(uint32_t type) { return (type & 0xFF) == 0x01 && (type & 0x80000000); }

// Bytes a value of the kind occupies: the numbers, logical, date-time and
// routine address; 0 for every other kind.
inline constexpr uint32_t ValueSize(uint32_t type) {
  switch (type) {
    case ValueType::Byte: return 1;
    case ValueType::Short: return 2;
    case ValueType::Int:
    case ValueType::Float:
    case ValueType::Logical:
    case ValueType::Routine: return 4;
    case ValueType::Long:
    case ValueType::Double:
    case ValueType::DateTime: return 8;
    default: return 0;
  }
}

// (value, high, type): 8-byte kinds keep their low half in `value` and the
// high half in `high`; pointers and handles use the whole pointer-sized value.
struct TypedArg {
  UINT_PTR value = 0;
  uint32_t high = 0;
  uint32_t type = ValueType::None;

  static TypedArg Absent() { return {}; }
  static TypedArg Int(int32_t v) { return {static_cast<uint32_t>(v), 0, ValueType::Int}; }
  static TypedArg Byte(uint8_t v) { return {v, 0, ValueType::Byte}; }
  static TypedArg Short(int16_t v) { return {static_cast<uint16_t>(v), 0, ValueType::Short}; }
  static TypedArg Routine(uint32_t v) { return {v, 0, ValueType::Routine}; }
  static TypedArg Logical(bool v) { return {v ? 1u : 0u, 0, ValueType::Logical}; }
  static TypedArg Long(int64_t v) { return FromBits(static_cast<uint64_t>(v), ValueType::Long); }
  static TypedArg Double(double v) { return FromBits(Bits64(v), ValueType::Double); }
  static TypedArg DateTime(double v) { return FromBits(Bits64(v), ValueType::DateTime); }
  static TypedArg Float(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return {bits, 0, ValueType::Float};
  }
  static TypedArg OfText(const char* text) { return {reinterpret_cast<UINT_PTR>(text), 0, ValueType::Text}; }
  static TypedArg OfBytes(const void* block) { return {reinterpret_cast<UINT_PTR>(block), 0, ValueType::Bytes}; }
  // A value of a kind with a ValueSize, from its little-endian bytes.
  static TypedArg FromBits(uint64_t bits, uint32_t type) {
    return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
  }
  // A by-reference variable (or an array block) of the given kind.
  static TypedArg Reference(uint32_t type, void* address) {
    return {reinterpret_cast<UINT_PTR>(address), 0, type | ValueType::ByRef};
  }

  bool IsAbsent() const { return type == ValueType::None; }
  bool IsReference() const { return (type & ValueType::ByRef) != 0; }
  // The kind without the by-reference (array) flag.
  uint32_t BaseType() const { return type & ~ValueType::ByRef; }
  // The value's own bytes, little-endian, for kinds with a ValueSize.
  uint64_t Bits() const { return static_cast<uint64_t>(Int64()); }
  int32_t Int32() const { return static_cast<int32_t>(static_cast<uint32_t>(value)); }
  uint32_t Uint32() const { return static_cast<uint32_t>(value); }
  int64_t Int64() const { return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | Uint32()); }
  double AsDouble() const {
    double v;
    uint64_t bits = Bits();
    std::memcpy(&v, &bits, 8);
    return v;
  }
  float AsFloat() const {
    float v;
    uint32_t bits = Uint32();
    std::memcpy(&v, &bits, 4);
    return v;
  }
  template <typename T>
  T* Pointer() const {
    return reinterpret_cast<T*>(value);
  }

 private:
  static uint64_t Bits64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return bits;
  }
};
