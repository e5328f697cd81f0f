// The cells of a grid are rendered one after another, each on every thread, because the one
// parameter set must change between cells and may not change while samples are shaded.
#include "host/grid_render.h"

#include <iostream>

#include "host/noise_samplers.h"

Option CellSizeOption(int& width, int& height) {
  return {"--cell", "WxH",
          "the size of each picture in pixels (" + std::to_string(width) + "x" +
              std::to_string(height) + ")",
          [&width, &height](const char* value) { return ReadImageSize(value, width, height); }};
}

RgbImage RenderPreview(const ShaderLibrary& shader, int width, int height, int threadCount,
                       RenderProgress& progress) {
  RgbImage image(width, height);
  RenderImage(kPreviewScene, shader.procedure, kNoiseSamplers, threadCount, image, &progress);
  return image;
}

int FinishGrid(CaptionedGrid& grid, const ShaderLibrary& shader, RenderProgress& progress,
               const Stopwatch& stopwatch, const std::string& output, int threadCount) {
  const double seconds = stopwatch.Seconds();
  shader.close();
  progress.Finish();
  if (!grid.DrawTexts()) return Report(kExitFailure, "cannot draw the labels with GDI");
  if (!SaveImage(output, grid.image())) return kExitFailure;
  std::cout << RenderTimeText(seconds, threadCount) << '\n';
  return kExitSuccess;
}
