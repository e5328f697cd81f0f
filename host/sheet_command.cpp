// vael-host sheet [STRING]: a grid of previews of one parameter string in which only the
// threshold (down the rows) and the sharpness (across the columns) change, so that the jump
// in the weight at the threshold and the band above it can be seen side by side.
#include <iostream>
#include <string>
#include <vector>

#include "core/shader_parameters.h"
#include "host/captioned_grid.h"
#include "host/grid_render.h"
#include "host/command_line.h"
#include "host/commands.h"
#include "host/noise_samplers.h"
#include "host/shader_library.h"
#include "host/threaded_render.h"

namespace {

struct SheetSettings {
  std::string library = LibraryBesideProgram();
  std::string parameters = DefaultParameterText();
  // From clouds only in the thinnest places to clouds nearly everywhere, and from no band
  // (a hard edge at the threshold) to the default band.
  std::vector<float> thresholds = {0.1f, 0.3f, 0.5f, 0.7f};
  std::vector<float> sharpnesses = {0.0f, 0.2f, 0.5f, 0.8f};
  int cellWidth = 160;
  int cellHeight = 120;
  std::string output = "sheet.png";
  int threads = DefaultThreadCount();
};

// What a renderer hands the shader for a material with these two settings and the rest of
// the base string's: every material's own string, loaded before its samples are shaded.
std::string CellParameters(const std::string& base, float threshold, float sharpness) {
  ShaderParameters parameters;
  LoadParameters(parameters, base.c_str());
  parameters.threshold = threshold;
  parameters.sharpness = sharpness;
  return ParameterString(parameters);
}

}  // namespace

int RunSheet(std::span<char* const> arguments) {
  SheetSettings settings;
  const std::vector<std::string> operands = TakeOperands(arguments);
  const Option options[] = {
      LibraryPathOption(settings.library),
      {"--thresholds", "LIST", "the thresholds of the rows (0.1,0.3,0.5,0.7)",
       [&](const char* value) { return ReadNumberList(value, settings.thresholds); }},
      {"--sharpness", "LIST", "the sharpness of the columns (0,0.2,0.5,0.8)",
       [&](const char* value) { return ReadNumberList(value, settings.sharpnesses); }},
      CellSizeOption(settings.cellWidth, settings.cellHeight),
      OutputOption(settings.output),
      ThreadsOption(settings.threads),
  };
  const ParseOutcome outcome = ParseOptions(
      "sheet",
      "Renders a grid of previews of the parameter string STRING, given before the options\n"
      "(default settings when there is none), with the threshold changed along the rows and\n"
      "the sharpness along the columns; each cell is labelled with its two values.",
      arguments, options);
  if (outcome != ParseOutcome::kRun) return ExitCodeFor(outcome);
  if (operands.size() > 1) return Report(kExitUsage, "sheet: takes one parameter string at most");
  if (!operands.empty()) settings.parameters = operands.front();
  if (!HasParameterLead(settings.parameters))
    return Report(kExitUsage, "sheet: the parameter string must start with '#'");

  std::string error;
  const std::unique_ptr<ShaderLibrary> shader = ShaderLibrary::Open(settings.library, error);
  if (!shader) return Report(kExitFailure, error);
  const int columns = static_cast<int>(settings.sharpnesses.size());
  const int rows = static_cast<int>(settings.thresholds.size());
  ShaderParameters base;
  LoadParameters(base, settings.parameters.c_str());
  CaptionedGrid grid(columns, rows, settings.cellWidth, settings.cellHeight,
                     "threshold down, sharpness across, the rest from " + ParameterString(base));
  const Stopwatch stopwatch;
  RenderProgress progress(static_cast<std::uint64_t>(columns) * rows * settings.cellHeight);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const float threshold = settings.thresholds[row];
      const float sharpness = settings.sharpnesses[column];
      shader->startup(0, 0, CellParameters(settings.parameters, threshold, sharpness).c_str());
      grid.Place(column, row,
                 RenderPreview(*shader, settings.cellWidth, settings.cellHeight, settings.threads,
                               progress),
                 "t " + TwoDecimals(threshold) + "  s " + TwoDecimals(sharpness));
    }
  }
  return FinishGrid(grid, *shader, progress, stopwatch, settings.output, settings.threads);
}
