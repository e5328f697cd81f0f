// The preview rendered on several threads: rows are dealt out one at a time from a shared
// counter, so that every thread stays busy until the image is done, and a render that takes
// longer than a second shows how far it has come.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "host/preview_render.h"
#include "host/stopwatch.h"

// One line on stderr, rewritten in place, that appears once the work has taken a second.
// Several renders may report to one object, e.g. the cells of a sheet.
class RenderProgress {
 public:
  // totalRows: the rows of every render that reports to this object, together.
  explicit RenderProgress(std::uint64_t totalRows) : total_(totalRows) {}
  ~RenderProgress();
  RenderProgress(const RenderProgress&) = delete;
  RenderProgress& operator=(const RenderProgress&) = delete;

  // Safe to call from any thread.
  void RowDone();

  // Ends the line, if it was shown, so that other output can follow; the destructor does too.
  void Finish();

 private:
  std::mutex mutex_;
  const Stopwatch stopwatch_;
  const std::uint64_t total_;
  std::uint64_t done_ = 0;
  int shownPercent_ = -1;
  bool finished_ = false;
};

// One thread per core, as the system counts them, and at least one.
int DefaultThreadCount();

// Renders the whole image with threadCount threads, this one among them. The shader's
// parameter set must not change before this returns: the shading calls read it unguarded.
// progress may be null.
SampleCounts RenderImage(const PreviewScene& scene, ProcedureFunction procedure,
                         const HostSamplerFunctions& samplers, int threadCount, RgbImage& image,
                         RenderProgress* progress);

// "rendered in 280.50 ms on 2 threads"
std::string RenderTimeText(double seconds, int threadCount);
