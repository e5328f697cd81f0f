// vael-host edit [STRING]: opens the shader's own settings dialog on a parameter string, as
// the renderer does when a user edits a material, and prints the string that comes back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "host/command_line.h"
#include "host/commands.h"
#include "host/shader_library.h"

namespace {

// The renderer's allocator for parameter strings. It counts what the shader asks of it, so
// that a leaked or twice-released string shows in the summary.
struct BlockCounts {
  int allocated = 0;
  int released = 0;
};
BlockCounts shaderCalls;

void* AllocateForShader(std::uint32_t byteCount) {
  ++shaderCalls.allocated;
  return std::malloc(byteCount);
}

void ReleaseForShader(void* text) {
  ++shaderCalls.released;
  std::free(text);
}

constexpr HostMemoryFunctions kMemory = {AllocateForShader, ReleaseForShader};

// A material's string lives in the renderer's memory like any other.
char* RendererCopy(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

int RunEdit(std::span<char* const> arguments) {
  std::optional<std::string> text;
  if (!arguments.empty() && std::strncmp(arguments[0], "--", 2) != 0) {
    text = arguments[0];
    arguments = arguments.subspan(1);
  }
  std::string library = LibraryBesideProgram();
  const Option options[] = {LibraryPathOption(library)};
  const ParseOutcome outcome = ParseOptions(
      "edit",
      "Opens the shader's settings dialog on the parameter string STRING, given before the\n"
      "options (or on none), and prints the string that the shader returns, or that the edit\n"
      "was cancelled.",
      arguments, options);
  if (outcome != ParseOutcome::kRun) return ExitCodeFor(outcome);

  std::string error;
  const std::unique_ptr<ShaderLibrary> shader = ShaderLibrary::Open(library, error);
  if (!shader) return Report(kExitFailure, error);
  if (shader->setParameters == nullptr)
    return Report(kExitFailure, "shader library '" + library + "' has no export _SetExternalParameters");

  char* material = text ? RendererCopy(*text) : nullptr;
  char* result = shader->setParameters(material, nullptr, &kMemory);
  if (result == material)
    std::cout << "edit cancelled\n";
  else
    std::cout << (result != nullptr ? result : "(no string)") << '\n';
  std::free(result);
  std::cout << "shader called allocate " << shaderCalls.allocated << " times, release "
            << shaderCalls.released << " times\n";
  return kExitSuccess;
}
