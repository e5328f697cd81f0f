// Calls a function with raw 32-bit argument slots, as the renderer does, and reports how
// far the stack pointer moved across the call: a cdecl callee leaves it where it was.
#pragma once

#include <cstdint>
#include <vector>

struct CdeclCallResult {
  std::uint32_t eax;
  std::int32_t stackMovedBy;  // bytes the callee removed; 0 for cdecl
};

CdeclCallResult CallWithSlots(const void* function, const std::vector<std::uint32_t>& slots);

// The 32-bit slot that carries a float or a pointer.
std::uint32_t FloatSlot(float value);
std::uint32_t PointerSlot(const void* pointer);
