// What the sheet and morph subcommands share: a cell's preview rendered through the shader's
// current parameter set, and the grid finished into an image file with a summary line.
#pragma once

#include <string>

#include "host/captioned_grid.h"
#include "host/command_line.h"
#include "host/shader_library.h"
#include "host/stopwatch.h"
#include "host/threaded_render.h"

// --cell WxH: the size of every picture in the grid; width and height hold the defaults.
Option CellSizeOption(int& width, int& height);

// The preview scene with the renderer's noise samplers, as the preview subcommand renders it.
RgbImage RenderPreview(const ShaderLibrary& shader, int width, int height, int threadCount,
                       RenderProgress& progress);

// Ends the shader's use and the progress line, draws the grid's texts, writes the image and
// says how long the rendering took; returns the subcommand's exit code.
int FinishGrid(CaptionedGrid& grid, const ShaderLibrary& shader, RenderProgress& progress,
               const Stopwatch& stopwatch, const std::string& output, int threadCount);
