// Some renderers run with floating-point traps unmasked. Code that cannot be proven quiet
// (library conversions, message boxes) runs inside a HeldFloatingPoint: traps masked, and the
// caller's control and status words put back exactly as they were when it ends.
#pragma once

#include <cfenv>

class HeldFloatingPoint {
 public:
  HeldFloatingPoint() { std::feholdexcept(&saved_); }
  ~HeldFloatingPoint() { std::fesetenv(&saved_); }
  HeldFloatingPoint(const HeldFloatingPoint&) = delete;
  HeldFloatingPoint& operator=(const HeldFloatingPoint&) = delete;

 private:
  std::fenv_t saved_;
};
