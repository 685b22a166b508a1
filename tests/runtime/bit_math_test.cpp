#include <gtest/gtest.h>

#include "runtime/bit_math.h"

TEST(BitMath, ShiftsTakeTheCountModulo32) {
  EXPECT_EQ(ShiftLeft(1, 33), 2);
  EXPECT_EQ(ShiftRight(-8, 1), -4);
  EXPECT_EQ(ShiftRight(-8, 32), -8);
  EXPECT_EQ(ShiftLeft(1, -1), INT32_MIN);
  EXPECT_EQ(BitOr({1, 2, 8}), 11);
  EXPECT_EQ(BitAnd({7, 14}), 6);
  EXPECT_EQ(BitNot(0), -1);
  EXPECT_EQ(static_cast<uint32_t>(MakeLong(0x12345678, 0x9ABC)), 0x9ABC5678u);
  EXPECT_EQ(MakeLong(-1, 0), 0xFFFF);
}

TEST(BitMath, RemainderAndFunctions) {
  EXPECT_DOUBLE_EQ(Remainder({10, 4, 1.5}), 0.5);
  EXPECT_DOUBLE_EQ(Remainder({-7, 3}), -1);
  EXPECT_DOUBLE_EQ(AbsoluteValue(-2.5), 2.5);
  EXPECT_DOUBLE_EQ(Sine(0), 0);
  EXPECT_DOUBLE_EQ(Cosine(0), 1);
}
