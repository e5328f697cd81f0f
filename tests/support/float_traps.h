// A renderer that runs with floating-point traps unmasked, on the x87 unit and on SSE alike:
// what a test sets up before calling the plug-in, and the control state it compares after.
#pragma once

#include <windows.h>

#include <cstdint>

// The control words only: masks, precision, rounding, flush-to-zero; not the status flags.
struct FloatControl {
  std::uint16_t x87;
  std::uint32_t sse;
  bool operator==(const FloatControl&) const = default;
};

FloatControl CurrentFloatControl();

// For its lifetime: the chosen traps unmasked on both units, and a trap that fires ends the
// program with a message naming it (rather than an unhelpful exit code). Afterwards the
// control state is put back as it was.
class UnmaskedFloatTraps {
 public:
  enum Trap : unsigned { kInvalid = 1, kZeroDivide = 2, kOverflow = 4 };
  explicit UnmaskedFloatTraps(unsigned traps);
  ~UnmaskedFloatTraps();
  UnmaskedFloatTraps(const UnmaskedFloatTraps&) = delete;
  UnmaskedFloatTraps& operator=(const UnmaskedFloatTraps&) = delete;

  // The state a well-behaved callee hands back.
  const FloatControl& unmasked() const { return unmasked_; }

 private:
  FloatControl saved_;
  FloatControl unmasked_;
  void* handler_;
};
