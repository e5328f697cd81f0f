// vael-host preview: starts the shader with a parameter string (optionally morphed toward a
// second one), renders the preview scene through it and writes the image.
#include <iostream>
#include <optional>
#include <string>

#include "core/shader_parameters.h"
#include "host/command_line.h"
#include "host/commands.h"
#include "host/image_file.h"
#include "host/noise_samplers.h"
#include "host/preview_render.h"
#include "host/shader_library.h"
#include "host/stopwatch.h"
#include "host/threaded_render.h"

namespace {

struct PreviewSettings {
  std::string library = LibraryBesideProgram();
  std::string parameters = DefaultParameterText();
  std::optional<std::string> morphTarget;
  std::optional<float> factor;
  int width = 320;
  int height = 240;
  std::string output = "preview.png";
  int threads = DefaultThreadCount();
  PreviewScene scene = kPreviewScene;
};

}  // namespace

int RunPreview(std::span<char* const> arguments) {
  PreviewSettings settings;
  const Option options[] = {
      LibraryPathOption(settings.library),
      // The library would answer a string without its lead character with a message box
      // that waits for a user.
      {"--params", "TEXT", "the parameter string to start with, '#' first (default settings)",
       [&](const char* value) {
         settings.parameters = value;
         return HasParameterLead(settings.parameters);
       }},
      {"--morph", "TEXT", "a parameter string to morph toward after the start",
       [&](const char* value) {
         settings.morphTarget = value;
         return true;
       }},
      {"--factor", "T", "the morph factor: 0 gives the --morph settings, 1 keeps the start (0.5)",
       [&](const char* value) {
         float factor;
         if (!ReadFiniteNumber(value, factor)) return false;
         settings.factor = factor;
         return true;
       }},
      {"--size", "WxH", "the image size in pixels (320x240)",
       [&](const char* value) { return ReadImageSize(value, settings.width, settings.height); }},
      OutputOption(settings.output),
      ThreadsOption(settings.threads),
      {"--surface", "R,G,B", "the cube's colour, 0 to 255 (240,228,204)",
       [&](const char* value) { return ReadColour(value, settings.scene.surface); }},
      {"--background", "R,G,B", "the background colour, 0 to 255 (46,62,86)",
       [&](const char* value) { return ReadColour(value, settings.scene.background); }},
  };
  const ParseOutcome outcome =
      ParseOptions("preview", "Renders a cube with rounded edges shaded by the shader library.",
                   arguments, options);
  if (outcome != ParseOutcome::kRun) return ExitCodeFor(outcome);
  if (settings.factor && !settings.morphTarget)
    return Report(kExitUsage, "preview: --factor needs --morph");

  std::string error;
  const std::unique_ptr<ShaderLibrary> shader = ShaderLibrary::Open(settings.library, error);
  if (!shader) return Report(kExitFailure, error);
  shader->startup(0, 0, settings.parameters.c_str());
  if (settings.morphTarget) shader->morph(settings.morphTarget->c_str(), settings.factor.value_or(0.5f));

  RgbImage image(settings.width, settings.height);
  const Stopwatch stopwatch;
  RenderProgress progress(static_cast<std::uint64_t>(image.height));
  const SampleCounts counts = RenderImage(settings.scene, shader->procedure, kNoiseSamplers,
                                          settings.threads, image, &progress);
  progress.Finish();
  const double seconds = stopwatch.Seconds();
  shader->close();

  if (!SaveImage(settings.output, image)) return kExitFailure;
  std::cout << RenderTimeText(seconds, settings.threads) << ": " << counts.shaded
            << " samples shaded, " << counts.changed << " changed by the shader\n";
  return kExitSuccess;
}
