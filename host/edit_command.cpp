// vael-host edit [STRING]: opens the shader's own settings dialog on a parameter string, as
// the renderer does when a user edits a material, and prints the string that comes back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/commands.h"
#include "host/shader_library.h"

namespace {

// The renderer's allocator for parameter strings. It keeps every block it gave out until the
// block is released, so that a leaked or twice-released string shows in the summary.
struct BlockLedger {
  int allocated = 0;
  int released = 0;
  int strayReleases = 0;  // of a block that is not out: released twice, or never allocated
  std::set<void*> out;
};
BlockLedger ledger;

void* AllocateForShader(std::uint32_t byteCount) {
  ++ledger.allocated;
  void* block = std::malloc(byteCount);
  if (block != nullptr) ledger.out.insert(block);
  return block;
}

void ReleaseForShader(void* text) {
  ++ledger.released;
  if (ledger.out.erase(text) == 0) {
    ++ledger.strayReleases;
    return;
  }
  std::free(text);
}

constexpr HostMemoryFunctions kMemory = {AllocateForShader, ReleaseForShader};

// A material's string lives in the renderer's memory like any other.
char* RendererCopy(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text.c_str(), text.size() + 1);
  ledger.out.insert(copy);
  return copy;
}

// The renderer drops a material's string when the material goes.
void RendererDrop(char* text) {
  if (text != nullptr && ledger.out.erase(text) == 1) std::free(text);
}

}  // namespace

int RunEdit(std::span<char* const> arguments) {
  const std::vector<std::string> operands = TakeOperands(arguments);
  std::string library = LibraryBesideProgram();
  int edits = 1;
  const Option options[] = {
      LibraryPathOption(library),
      {"--edits", "N", "edits in a row, each on the string the one before returned (1)",
       [&](const char* value) { return ReadCount(value, 1, 1000000, edits); }},
  };
  const ParseOutcome outcome = ParseOptions(
      "edit",
      "Opens the shader's settings dialog on the parameter string STRING, given before the\n"
      "options (or on none), and prints the string that the shader returns, or that the edit\n"
      "was cancelled.",
      arguments, options);
  if (outcome != ParseOutcome::kRun) return ExitCodeFor(outcome);
  if (operands.size() > 1) return Report(kExitUsage, "edit: takes one parameter string at most");

  std::string error;
  const std::unique_ptr<ShaderLibrary> shader = ShaderLibrary::Open(library, error);
  if (!shader) return Report(kExitFailure, error);
  if (shader->setParameters == nullptr)
    return Report(kExitFailure, "shader library '" + library + "' has no export _SetExternalParameters");

  char* material = operands.empty() ? nullptr : RendererCopy(operands.front());
  for (int edit = 0; edit < edits; ++edit) {
    char* result = shader->setParameters(material, nullptr, &kMemory);
    if (result == material)
      std::cout << "edit cancelled\n";
    else
      std::cout << (result != nullptr ? result : "(no string)") << '\n';
    material = result;
  }
  RendererDrop(material);
  std::cout << "shader called allocate " << ledger.allocated << " times, release "
            << ledger.released << " times\n";
  if (ledger.strayReleases != 0 || !ledger.out.empty())
    return Report(kExitFailure, "blocks released twice or never allocated: " +
                                    std::to_string(ledger.strayReleases) +
                                    ", blocks never released: " + std::to_string(ledger.out.size()));
  return kExitSuccess;
}
