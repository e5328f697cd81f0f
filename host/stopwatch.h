// Wall-clock time from the performance counter, for the render time and the benchmark.
#pragma once

#include <windows.h>

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceCounter(&start_); }
  double Seconds() const {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_;
};
