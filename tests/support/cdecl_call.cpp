// The call is written in assembly so that the compiler cannot tidy the stack behind it.
#include "tests/support/cdecl_call.h"

#include <cstring>

CdeclCallResult CallWithSlots(const void* function, const std::vector<std::uint32_t>& slots) {
  const std::uint32_t* arguments = slots.data();
  const std::int32_t count = static_cast<std::int32_t>(slots.size());
  std::int32_t counterThenDelta = count;
  std::uint32_t eax = 0;
  // Push the slots last to first and call; ESP after the call minus ESP before the pushes
  // is -4 * count when the callee leaves the arguments to its caller.
  __asm__ volatile(
      "movl %%esp, %%edi\n\t"
      "1:\n\t"
      "testl %%ecx, %%ecx\n\t"
      "jz 2f\n\t"
      "decl %%ecx\n\t"
      "pushl (%%esi,%%ecx,4)\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "call *%%ebx\n\t"
      "movl %%esp, %%ecx\n\t"
      "subl %%edi, %%ecx\n\t"
      "movl %%edi, %%esp\n\t"
      : "=a"(eax), "+c"(counterThenDelta)
      : "S"(arguments), "b"(function)
      : "edx", "edi", "memory", "cc");
  return {eax, counterThenDelta + 4 * count};
}

std::uint32_t FloatSlot(float value) {
  std::uint32_t slot;
  std::memcpy(&slot, &value, sizeof slot);
  return slot;
}

std::uint32_t PointerSlot(const void* pointer) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}
