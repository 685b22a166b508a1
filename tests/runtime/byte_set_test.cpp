#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string_view>

#include "runtime/byte_set_commands.h"
#include "runtime/codepage.h"
#include "runtime/heap.h"
#include "runtime/message_box.h"

namespace {

// An int 7, a short -2, the text "hi" with its terminator and a byte 0x55.
Bytes Record() { return Bytes::Copy(std::string_view("\x07\0\0\0\xFE\xFFhi\0\x55", 10)); }

}  // namespace

TEST(ByteSets, LengthZeroMemoryAndMiddle) {
  Bytes bytes = Bytes::Copy("abcdef", 6);
  EXPECT_EQ(BytesLength(bytes.block()), 6);
  EXPECT_EQ(BytesLength(nullptr), 0);
  EXPECT_EQ(ZeroBytes(3).view(), std::string_view("\0\0\0", 3));
  EXPECT_EQ(ZeroBytes(0).block(), nullptr);
  EXPECT_EQ(BytesFromMemory("xyz", 2).view(), "xy");
  EXPECT_EQ(BytesFromMemory(nullptr, 2).block(), nullptr);
  EXPECT_EQ(MidBytes(bytes.block(), 2, 3).view(), "bcd");
  EXPECT_EQ(MidBytes(bytes.block(), -5, 2).view(), "ab");
  EXPECT_EQ(MidBytes(bytes.block(), 5, 9).view(), "ef");
  EXPECT_EQ(MidBytes(bytes.block(), 7, 1).block(), nullptr);
  EXPECT_EQ(MidBytes(bytes.block(), 1, 0).block(), nullptr);
  EXPECT_EQ(MidBytes(nullptr, 1, 1).block(), nullptr);
}

TEST(ReadValueFromBytes, PositionVariableWalksTheRecord) {
  Bytes record = Record();
  int position = 1;
  ReadValue number = ReadValueFromBytes(record.block(), 3, &position);
  EXPECT_EQ(number.value.type, ValueType::Int);
  EXPECT_EQ(number.value.Int32(), 7);
  EXPECT_EQ(position, 5);
  EXPECT_EQ(static_cast<int16_t>(ReadValueFromBytes(record.block(), 2, &position).value.value), -2);
  EXPECT_EQ(position, 7);
  ReadValue text = ReadValueFromBytes(record.block(), 10, &position);
  EXPECT_EQ(text.value.type, ValueType::Text);
  EXPECT_STREQ(text.value.Pointer<const char>(), "hi");
  EXPECT_EQ(text.text.view(), "hi");
  EXPECT_EQ(position, 10);
  EXPECT_EQ(ReadValueFromBytes(record.block(), 1, &position).value.value, 0x55u);
  EXPECT_EQ(position, -1);  // past the last byte
  EXPECT_EQ(ReadValueFromBytes(record.block(), 1, &position).value.value, 0u);
  EXPECT_EQ(position, -1);
}

TEST(ReadValueFromBytes, EndsAndShortData) {
  Bytes four = Bytes::Copy("\x01\x02\x03\x04", 4);
  int position = 1;
  EXPECT_EQ(ReadValueFromBytes(four.block(), 3, &position).value.value, 0x04030201u);
  EXPECT_EQ(position, -1);
  // Fewer bytes than the kind needs read as zero-padded.
  ReadValue cut = ReadValueFromBytes(four.block(), 4, 3);
  EXPECT_EQ(cut.value.Int64(), 0x0403);
  EXPECT_EQ(ReadValueFromBytes(four.block(), 7, 4).value.value, 1u);  // any non-zero logical is 1
  EXPECT_EQ(ReadValueFromBytes(four.block(), 3).value.value, 0x04030201u);
  EXPECT_EQ(ReadValueFromBytes(four.block(), 3, 0).value.value, 0u);
  position = 0;
  EXPECT_EQ(ReadValueFromBytes(four.block(), 3, &position).value.value, 0u);
  EXPECT_EQ(position, -1);
  EXPECT_TRUE(ReadValueFromBytes(nullptr, 10).text.IsNull());
  Bytes unterminated = Bytes::Copy("abc", 3);
  position = 2;
  EXPECT_EQ(ReadValueFromBytes(unterminated.block(), 10, &position).text.view(), "bc");
  EXPECT_EQ(position, -1);
  Bytes doubleBytes = Bytes::Copy(std::string_view("\0\0\0\0\0\0\x04\x40", 8));
  EXPECT_DOUBLE_EQ(ReadValueFromBytes(doubleBytes.block(), 8).value.AsDouble(), 2.5);
}

namespace {
int CheckBadKindBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
  const std::string gbk = WideToGbk(text);
  bool expected = owner == nullptr && gbk == "program internal error number is 100. \r\n(null)\r\n错误位置:0,0" &&
                  std::wstring_view(caption) == L"error" && style == MB_ICONERROR;
  std::fprintf(stderr, expected ? "expected box" : "unexpected box: %s", gbk.c_str());
  return IDOK;
}
}  // namespace

TEST(ReadValueFromBytesDeathTest, UnknownKindIsRuntimeError100) {
  EXPECT_EXIT(
      {
        SetMessageBoxHandler(CheckBadKindBox);
        Bytes bytes = Bytes::Copy("abcd", 4);
        ReadValueFromBytes(bytes.block(), 11);
      },
      testing::ExitedWithCode(0), "expected box");
}

TEST(WriteValueToMemory, CopiesTheValuesOwnBytes) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  WriteValueToMemory(TypedArg::OfText("ab"), buffer);
  EXPECT_EQ(std::string_view(buffer, 4), std::string_view("ab\0#", 4));
  WriteValueToMemory(TypedArg::OfText("xyz"), buffer, 2);
  EXPECT_EQ(std::string_view(buffer, 4), std::string_view("xy\0#", 4));
  WriteValueToMemory(TypedArg::OfText(""), buffer);
  WriteValueToMemory(TypedArg::OfText(nullptr), buffer);
  EXPECT_EQ(buffer[0], 'x');
  WriteValueToMemory(TypedArg::Int(0x41424344), buffer);
  EXPECT_EQ(std::string_view(buffer, 5), "DCBA#");
  WriteValueToMemory(TypedArg::Short(0x3132), buffer + 4);
  EXPECT_EQ(std::string_view(buffer, 7), "DCBA21#");
  Bytes bytes = Bytes::Copy("pq", 2);
  WriteValueToMemory(TypedArg::OfBytes(bytes.block()), buffer);
  EXPECT_EQ(std::string_view(buffer, 3), "pqB");
  int32_t byteArray[3] = {1, 3, 0};
  std::memcpy(&byteArray[2], "rst", 3);
  WriteValueToMemory(TypedArg::Reference(ValueType::Byte, byteArray), buffer, 9);
  EXPECT_EQ(std::string_view(buffer, 4), "rstA");
  WriteValueToMemory(TypedArg::Int(1), nullptr);  // no address, nothing written
}

namespace {
const int32_t kStaticArray[] = {2, 2, 1, 10, 20};  // 2 x 1 ints
}

TEST(MakeArrayWritable, CopiesStaticArraysOnly) {
  void* array = const_cast<int32_t*>(kStaticArray);
  MakeArrayWritable(4, &array);
  ASSERT_NE(array, static_cast<const void*>(kStaticArray));
  EXPECT_EQ(std::memcmp(array, kStaticArray, sizeof kStaticArray), 0);
  void* heapArray = array;
  MakeArrayWritable(4, &array);
  EXPECT_EQ(array, heapArray);
  RuntimeFree(array);
}
