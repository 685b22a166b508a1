#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "runtime/conversions.h"

namespace {

// A one-dimensional array block of the elements.
template <typename T>
std::vector<uint8_t> ArrayBlock(std::initializer_list<T> elements) {
  std::vector<uint8_t> block(8 + elements.size() * sizeof(T));
  int32_t header[2] = {1, static_cast<int32_t>(elements.size())};
  std::memcpy(block.data(), header, 8);
  std::memcpy(block.data() + 8, elements.begin(), elements.size() * sizeof(T));
  return block;
}

std::string TextOf(const TypedArg& value) { return std::string(ToText(value).view()); }

}  // namespace

TEST(ToText, LogicalsAndIntegers) {
  EXPECT_EQ(TextOf(TypedArg::Logical(true)), "真");
  EXPECT_EQ(TextOf(TypedArg::Logical(false)), "假");
  EXPECT_EQ(TextOf(TypedArg::Int(-42)), "-42");
  EXPECT_EQ(TextOf(TypedArg::Byte(255)), "255");
  EXPECT_EQ(TextOf(TypedArg::Short(-2)), "-2");
  EXPECT_EQ(TextOf(TypedArg::Long(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(TextOf(TypedArg::Routine(0xFFFFFFFF)), "-1");
}

TEST(ToText, FloatsLoseTrailingZeros) {
  EXPECT_EQ(TextOf(TypedArg::Double(2.5)), "2.5");
  EXPECT_EQ(TextOf(TypedArg::Float(3.0f)), "3");
  EXPECT_EQ(TextOf(TypedArg::Double(-0.125)), "-0.125");
  EXPECT_EQ(TextOf(TypedArg::Double(1234567.0000004)), "1234567");
  EXPECT_EQ(TextOf(TypedArg::Double(0.0000004)), "0");
  EXPECT_EQ(TextOf(TypedArg::Float(0.1f)), "0.1");
  EXPECT_EQ(TextOf(TypedArg::Double(1e20)), "100000000000000000000");
  EXPECT_EQ(TextOf(TypedArg::Double(1e308)).size(), 309u);
}

// As the platform's "%f" prints them, trailing zeros cut.
TEST(ToText, InfinitiesAndNans) {
  const auto bits = [](uint64_t pattern) { return TypedArg::Double(std::bit_cast<double>(pattern)); };
  EXPECT_EQ(TextOf(TypedArg::Double(INFINITY)), "1.#INF");
  EXPECT_EQ(TextOf(TypedArg::Double(-INFINITY)), "-1.#INF");
  EXPECT_EQ(TextOf(TypedArg::Float(-INFINITY)), "-1.#INF");
  EXPECT_EQ(TextOf(bits(0x7FF8000000000000)), "1.#QNAN");
  EXPECT_EQ(TextOf(bits(0xFFF8000000000001)), "-1.#QNAN");
  EXPECT_EQ(TextOf(bits(0xFFF8000000000000)), "-1.#IND");  // what 0/0 gives
  EXPECT_EQ(TextOf(bits(0x7FF0000000000001)), "1.#SNAN");
}

TEST(ToText, DateTimes) {
  EXPECT_EQ(TextOf(TypedArg::DateTime(2.5)), "1900年1月1日12时");
  EXPECT_EQ(TextOf(TypedArg::DateTime(0)), "1899年12月30日");
  EXPECT_EQ(TextOf(TypedArg::DateTime(1)), "1899年12月31日");
  EXPECT_EQ(TextOf(TypedArg::DateTime(60)), "1900年2月28日");
  EXPECT_EQ(TextOf(TypedArg::DateTime(36585)), "2000年2月29日");
  double halfPastNoon = 0.5 + 30.0 / 1440;
  EXPECT_EQ(TextOf(TypedArg::DateTime(45292 + halfPastNoon)), "2024年1月1日12时30分");
  EXPECT_EQ(TextOf(TypedArg::DateTime(45292 + halfPastNoon + 15.0 / 86400)), "2024年1月1日12时30分15秒");
  EXPECT_EQ(TextOf(TypedArg::DateTime(45292 + 5.0 / 86400)), "2024年1月1日0时0分5秒");
  // Negative days count back; the time is the fraction's magnitude.
  EXPECT_EQ(TextOf(TypedArg::DateTime(-1)), "1899年12月29日");
  EXPECT_EQ(TextOf(TypedArg::DateTime(-1.25)), "1899年12月29日6时");
  EXPECT_EQ(TextOf(TypedArg::DateTime(-693593)), "1年1月1日");
  // A time that rounds up to midnight is the next day's start.
  EXPECT_EQ(TextOf(TypedArg::DateTime(1.9999999)), "1900年1月1日");
  EXPECT_EQ(TextOf(TypedArg::DateTime(-1.9999999)), "1899年12月30日");
  EXPECT_EQ(TextOf(TypedArg::DateTime(NAN)), "1899年12月30日");
}

TEST(ToText, TextsBytesArraysAndOtherKinds) {
  EXPECT_EQ(TextOf(TypedArg::OfText("中文")), "中文");
  EXPECT_TRUE(ToText(TypedArg::OfText("")).IsNull());
  EXPECT_TRUE(ToText(TypedArg::OfText(nullptr)).IsNull());
  Bytes bytes = Bytes::Copy("hi\0yo", 5);
  EXPECT_EQ(TextOf(TypedArg::OfBytes(bytes.block())), "hi");
  Bytes leadingZero = Bytes::Copy("\0a", 2);
  EXPECT_TRUE(ToText(TypedArg::OfBytes(leadingZero.block())).IsNull());
  auto ints = ArrayBlock<int32_t>({0x00636261, 0x64});
  EXPECT_EQ(TextOf(TypedArg::Reference(ValueType::Int, ints.data())), "abc");
  auto floats = ArrayBlock<float>({1.0f});
  EXPECT_TRUE(ToText(TypedArg::Reference(ValueType::Float, floats.data())).IsNull());
  EXPECT_TRUE(ToText(TypedArg{0x1234, 0, ValueType::Object}).IsNull());
  EXPECT_TRUE(ToText(TypedArg::Absent()).IsNull());
}

TEST(ToInteger, ByKind) {
  EXPECT_EQ(ToInteger(TypedArg::OfText("１２３")), 123);
  EXPECT_EQ(ToInteger(TypedArg::OfText("  －４２abc")), -42);
  EXPECT_EQ(ToInteger(TypedArg::OfText("abc")), 0);
  EXPECT_EQ(ToInteger(TypedArg::OfText(nullptr)), 0);
  EXPECT_EQ(ToInteger(TypedArg::OfText("99999999999")), INT_MAX);
  EXPECT_EQ(ToInteger(TypedArg::Double(-3.9)), -3);
  EXPECT_EQ(ToInteger(TypedArg::Double(4294967301.0)), 5);  // low 32 bits of 2^32 + 5
  EXPECT_EQ(ToInteger(TypedArg::Double(1e19)), 0);
  EXPECT_EQ(ToInteger(TypedArg::Double(NAN)), 0);
  EXPECT_EQ(ToInteger(TypedArg::Float(7.9f)), 7);
  EXPECT_EQ(ToInteger(TypedArg::Byte(200)), 200);
  EXPECT_EQ(ToInteger(TypedArg::Short(-2)), -2);
  EXPECT_EQ(ToInteger(TypedArg::Long(0x100000007LL)), 7);
  EXPECT_EQ(ToInteger(TypedArg::Logical(true)), 1);
  EXPECT_EQ(ToInteger(TypedArg::DateTime(3.5)), 0);
}

TEST(ToSmallIntegers, ByteAndShort) {
  EXPECT_EQ(ToByteValue(TypedArg::OfText("300")), 44);
  EXPECT_EQ(ToByteValue(TypedArg::Double(257.9)), 1);
  EXPECT_EQ(ToByteValue(TypedArg::Int(0x1234)), 0x34);
  EXPECT_EQ(ToShortValue(TypedArg::OfText("７００００")), static_cast<int16_t>(70000));
  EXPECT_EQ(ToShortValue(TypedArg::Byte(255)), 255);
  EXPECT_EQ(ToShortValue(TypedArg::Int(0x18000)), static_cast<int16_t>(0x8000));
  EXPECT_EQ(ToShortValue(TypedArg::Float(-2.7f)), -2);
  EXPECT_EQ(ToShortValue(TypedArg::Logical(true)), 0);
  EXPECT_EQ(ToShortValue(TypedArg::DateTime(5)), 0);
}

TEST(ToFloating, FloatAndDouble) {
  EXPECT_FLOAT_EQ(ToFloatValue(TypedArg::OfText("１．５")), 1.5f);
  EXPECT_FLOAT_EQ(ToFloatValue(TypedArg::Routine(0xFFFFFFFF)), -1.0f);
  EXPECT_FLOAT_EQ(ToFloatValue(TypedArg::Byte(200)), 200.0f);
  EXPECT_FLOAT_EQ(ToFloatValue(TypedArg::Double(0.25)), 0.25f);
  EXPECT_FLOAT_EQ(ToFloatValue(TypedArg::DateTime(2.5)), 0.0f);
  EXPECT_DOUBLE_EQ(ToDoubleValue(TypedArg::OfText("２.５e１")), 25.0);
  EXPECT_DOUBLE_EQ(ToDoubleValue(TypedArg::OfText("＋3")), 3.0);
  EXPECT_DOUBLE_EQ(ToDoubleValue(TypedArg::Int(-3)), -3.0);
  EXPECT_DOUBLE_EQ(ToDoubleValue(TypedArg::Logical(true)), 1.0);
  EXPECT_DOUBLE_EQ(ToDoubleValue(TypedArg::DateTime(2.5)), 2.5);
  EXPECT_DOUBLE_EQ(ToDoubleValue(TypedArg::Float(0.5f)), 0.5);
  EXPECT_DOUBLE_EQ(ToDoubleValue(TypedArg::Long(-(1LL << 40))), -1099511627776.0);
}

TEST(NormaliseNumberText, FullWidthFormsBecomeOneByteForms) {
  EXPECT_EQ(NormaliseNumberText("１／２＼ＡＢ"), "1/2\\AB");
  EXPECT_EQ(NormaliseNumberText("中12"), "中12");
  EXPECT_EQ(NormaliseNumberText(nullptr), "");
}

TEST(ToBytes, LittleEndianValuesTextsAndArrays) {
  EXPECT_EQ(ToBytes(TypedArg::OfText("ab")).view(), "ab");
  EXPECT_TRUE(ToBytes(TypedArg::OfText("")).block() == nullptr);
  EXPECT_EQ(ToBytes(TypedArg::Int(0x01020304)).view(), std::string_view("\x04\x03\x02\x01", 4));
  EXPECT_EQ(ToBytes(TypedArg::Short(-2)).view(), std::string_view("\xFE\xFF", 2));
  EXPECT_EQ(ToBytes(TypedArg::Double(1.0)).view(), std::string_view("\0\0\0\0\0\0\xF0\x3F", 8));
  EXPECT_EQ(ToBytes(TypedArg::Logical(true)).size(), 4u);
  Bytes original = Bytes::Copy("x\0y", 3);
  Bytes copy = ToBytes(TypedArg::OfBytes(original.block()));
  EXPECT_NE(copy.block(), original.block());
  EXPECT_EQ(copy.view(), original.view());
  auto shorts = ArrayBlock<int16_t>({1, 2});
  EXPECT_EQ(ToBytes(TypedArg::Reference(ValueType::Short, shorts.data())).view(),
            std::string_view("\x01\0\x02\0", 4));
  EXPECT_TRUE(ToBytes(TypedArg{0x1234, 0, ValueType::Variant}).block() == nullptr);
}

TEST(BytesToText, StopsAtTheFirstZeroByte) {
  Bytes bytes = Bytes::Copy("ok\0no", 5);
  EXPECT_EQ(BytesToText(TypedArg::OfBytes(bytes.block())).view(), "ok");
  Bytes unterminated = Bytes::Copy("abc", 3);
  EXPECT_EQ(BytesToText(TypedArg::OfBytes(unterminated.block())).view(), "abc");
  EXPECT_TRUE(BytesToText(TypedArg::OfBytes(nullptr)).IsNull());
  EXPECT_TRUE(BytesToText(TypedArg::Int(0x41)).IsNull());
  auto doubles = ArrayBlock<double>({0});
  EXPECT_TRUE(BytesToText(TypedArg::Reference(ValueType::Double, doubles.data())).IsNull());
}
