// Bit and arithmetic commands.
#pragma once
#include <cstdint>
#include <initializer_list>

// Or / and of all values (0 for none).
int32_t BitOr(std::initializer_list<int32_t> values);
int32_t BitAnd(std::initializer_list<int32_t> values);
int32_t BitNot(int32_t value);
// Shifts by count mod 32; the right shift keeps the sign.
int32_t ShiftLeft(int32_t value, int32_t count);
int32_t ShiftRight(int32_t value, int32_t count);
// (high << 16) | (low & 0xFFFF)
int32_t MakeLong(int32_t low, int32_t high);
// The first value, then its floating remainder by each further value in turn
// (0 for none).
double Remainder(std::initializer_list<double> values);
double Sine(double radians);
double Cosine(double radians);
double AbsoluteValue(double value);
