#include "runtime/bit_math.h"

#include <cmath>
#include <functional>
#include <numeric>

namespace {

// Folds the values after the first into it.
template <typename T, typename Op>
T FoldFromFirst(std::initializer_list<T> values, Op op) {
  if (values.size() == 0) return T{};
  return std::accumulate(values.begin() + 1, values.end(), *values.begin(), op);
}

}  // namespace

int32_t BitOr(std::initializer_list<int32_t> values) { return FoldFromFirst(values, std::bit_or<>()); }
int32_t BitAnd(std::initializer_list<int32_t> values) { return FoldFromFirst(values, std::bit_and<>()); }
int32_t BitNot(int32_t value) { return ~value; }
int32_t ShiftLeft(int32_t value, int32_t count) { return value << (count & 31); }
int32_t ShiftRight(int32_t value, int32_t count) { return value >> (count & 31); }

int32_t MakeLong(int32_t low, int32_t high) {
  return static_cast<int32_t>((static_cast<uint32_t>(high) << 16) | (static_cast<uint32_t>(low) & 0xFFFF));
}

double Remainder(std::initializer_list<double> values) {
  return FoldFromFirst(values, [](double a, double b) { return std::fmod(a, b); });
}

double Sine(double radians) { return std::sin(radians); }
double Cosine(double radians) { return std::cos(radians); }
double AbsoluteValue(double value) { return std::fabs(value); }
