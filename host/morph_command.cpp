// vael-host morph FROM TO: a strip of previews on the way from one parameter string to
// another through the shader's own interpolation, as a renderer morphs a material between
// two keyed settings; each frame is labelled with the factor handed to the shader.
#include <string>
#include <vector>

#include "host/captioned_grid.h"
#include "host/command_line.h"
#include "host/commands.h"
#include "host/grid_render.h"
#include "host/shader_library.h"
#include "host/threaded_render.h"

namespace {

struct MorphSettings {
  std::string library = LibraryBesideProgram();
  int frames = 5;
  int cellWidth = 160;
  int cellHeight = 120;
  std::string output = "morph.png";
  int threads = DefaultThreadCount();
};

// The factor of frame i of count: 1 keeps FROM, 0 gives TO, evenly spaced between.
float FrameFactor(int frame, int count) {
  return 1.0f - static_cast<float>(frame) / static_cast<float>(count - 1);
}

}  // namespace

int RunMorph(std::span<char* const> arguments) {
  MorphSettings settings;
  const std::vector<std::string> operands = TakeOperands(arguments);
  const Option options[] = {
      LibraryPathOption(settings.library),
      {"--frames", "N", "how many frames, FROM and TO among them, 2 to 64 (5)",
       [&](const char* value) { return ReadCount(value, 2, 64, settings.frames); }},
      CellSizeOption(settings.cellWidth, settings.cellHeight),
      OutputOption(settings.output),
      ThreadsOption(settings.threads),
  };
  const ParseOutcome outcome = ParseOptions(
      "morph",
      "Renders a strip of previews from the parameter string FROM to TO, both given before\n"
      "the options: each frame starts the shader with FROM and morphs it toward TO with a\n"
      "factor from 1 (FROM) down to 0 (TO), which labels the frame.",
      arguments, options);
  if (outcome != ParseOutcome::kRun) return ExitCodeFor(outcome);
  if (operands.size() != 2) return Report(kExitUsage, "morph: needs FROM and TO, nothing more");
  const std::string& from = operands[0];
  const std::string& to = operands[1];
  if (!HasParameterLead(from)) return Report(kExitUsage, "morph: FROM must start with '#'");

  std::string error;
  const std::unique_ptr<ShaderLibrary> shader = ShaderLibrary::Open(settings.library, error);
  if (!shader) return Report(kExitFailure, error);
  CaptionedGrid grid(settings.frames, 1, settings.cellWidth, settings.cellHeight,
                     "from " + from + "  to " + to);
  const Stopwatch stopwatch;
  RenderProgress progress(static_cast<std::uint64_t>(settings.frames) * settings.cellHeight);
  for (int frame = 0; frame < settings.frames; ++frame) {
    // Morphing moves the set itself, so every frame starts again from FROM.
    const float factor = FrameFactor(frame, settings.frames);
    shader->startup(0, 0, from.c_str());
    shader->morph(to.c_str(), factor);
    grid.Place(frame, 0,
               RenderPreview(*shader, settings.cellWidth, settings.cellHeight, settings.threads,
                             progress),
               "factor " + TwoDecimals(factor));
  }
  return FinishGrid(grid, *shader, progress, stopwatch, settings.output, settings.threads);
}
