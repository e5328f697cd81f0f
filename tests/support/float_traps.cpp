// The control words are read and written in assembly and with the SSE intrinsics, since the C
// library's fenv functions on this platform hold only the x87 unit.
#include "tests/support/float_traps.h"

#include <xmmintrin.h>

#include <cstdio>

namespace {

constexpr std::uint32_t kSseControlBits = 0xFFC0;  // masks, rounding, flush-to-zero, DAZ
constexpr std::uint32_t kSseStatusFlags = 0x003F;

struct TrapMaskBits {
  unsigned trap;
  std::uint16_t x87;
  std::uint32_t sse;
};
constexpr TrapMaskBits kTrapMaskBits[] = {{UnmaskedFloatTraps::kInvalid, 0x01, 0x0080},
                                          {UnmaskedFloatTraps::kZeroDivide, 0x04, 0x0200},
                                          {UnmaskedFloatTraps::kOverflow, 0x08, 0x0400}};

// Pending flags are cleared first: a flag raised earlier must not fire under the new masks.
void SetFloatControl(const FloatControl& control) {
  __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(control.x87));
  _mm_setcsr(control.sse & ~kSseStatusFlags);
}

LONG CALLBACK ReportFloatTrap(EXCEPTION_POINTERS* info) {
  const DWORD code = info->ExceptionRecord->ExceptionCode;
  const bool floatTrap =
      (code >= EXCEPTION_FLT_DENORMAL_OPERAND && code <= EXCEPTION_FLT_UNDERFLOW) ||
      code == 0xC00002B4 || code == 0xC00002B5;  // SSE multiple faults/traps
  if (!floatTrap) return EXCEPTION_CONTINUE_SEARCH;
  std::fprintf(stderr, "floating-point trap 0x%08lX at %p\n", code,
               info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  ExitProcess(3);
}

}  // namespace

FloatControl CurrentFloatControl() {
  std::uint16_t x87 = 0;
  __asm__ volatile("fnstcw %0" : "=m"(x87));
  return {x87, _mm_getcsr() & kSseControlBits};
}

UnmaskedFloatTraps::UnmaskedFloatTraps(unsigned traps)
    : saved_(CurrentFloatControl()),
      handler_(AddVectoredExceptionHandler(1, ReportFloatTrap)) {
  FloatControl control = saved_;
  for (const TrapMaskBits& bits : kTrapMaskBits)
    if (traps & bits.trap)
      control = {static_cast<std::uint16_t>(control.x87 & ~bits.x87), control.sse & ~bits.sse};
  SetFloatControl(control);
  unmasked_ = CurrentFloatControl();
}

UnmaskedFloatTraps::~UnmaskedFloatTraps() {
  SetFloatControl(saved_);
  RemoveVectoredExceptionHandler(handler_);
}
