// Some renderers run with floating-point traps unmasked. Code that cannot be proven quiet
// (library conversions, message boxes, dialogs) runs inside a HeldFloatingPoint: traps
// masked, and the caller's control and status words put back exactly as they were.
#pragma once

#include <cfenv>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

class HeldFloatingPoint {
 public:
  HeldFloatingPoint() {
    std::feholdexcept(&saved_);
#if defined(__SSE__)
    // Some C libraries hold only the x87 unit; the SSE unit is held here in any case.
    sseSaved_ = _mm_getcsr();
    _mm_setcsr((sseSaved_ | kSseAllMasks) & ~kSseAllFlags);
#endif
  }
  ~HeldFloatingPoint() {
    std::fesetenv(&saved_);
#if defined(__SSE__)
    _mm_setcsr(sseSaved_);
#endif
  }
  HeldFloatingPoint(const HeldFloatingPoint&) = delete;
  HeldFloatingPoint& operator=(const HeldFloatingPoint&) = delete;

 private:
  std::fenv_t saved_;
#if defined(__SSE__)
  static constexpr unsigned kSseAllMasks = 0x1F80;
  static constexpr unsigned kSseAllFlags = 0x003F;
  unsigned sseSaved_;
#endif
};
