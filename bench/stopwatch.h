// Wall-clock time for the benchmarks. <chrono> cannot be compiled with GBK
// literals; the performance counter serves instead.
#pragma once
#include <windows.h>

inline double NowMilliseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
