// Rows are independent and each is written by exactly one thread, so the image needs no lock
// and comes out the same whatever the number of threads.
#include "host/threaded_render.h"

#include <algorithm>
#include <atomic>
#include <iostream>
#include <thread>
#include <vector>

#include "host/command_line.h"

RenderProgress::~RenderProgress() { Finish(); }

void RenderProgress::Finish() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (shownPercent_ >= 0) std::cerr << '\n';
  shownPercent_ = -1;
  finished_ = true;
}

void RenderProgress::RowDone() {
  constexpr double kQuietSeconds = 1.0;
  const std::lock_guard<std::mutex> lock(mutex_);
  ++done_;
  if (finished_) return;
  const int percent = static_cast<int>(done_ * 100 / std::max<std::uint64_t>(total_, 1));
  if (percent == shownPercent_ || stopwatch_.Seconds() < kQuietSeconds) return;
  shownPercent_ = percent;
  std::cerr << "\rvael-host: rendering, " << percent << "% done" << std::flush;
}

int DefaultThreadCount() {
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

SampleCounts RenderImage(const PreviewScene& scene, ProcedureFunction procedure,
                         const HostSamplerFunctions& samplers, int threadCount, RgbImage& image,
                         RenderProgress* progress) {
  std::atomic<int> nextRow{0};
  std::vector<SampleCounts> counts(static_cast<std::size_t>(std::max(threadCount, 1)));
  const auto work = [&](SampleCounts& own) {
    for (int row = nextRow++; row < image.height; row = nextRow++) {
      own += RenderRows(scene, procedure, samplers, row, row + 1, image);
      if (progress != nullptr) progress->RowDone();
    }
  };
  std::vector<std::thread> helpers;
  for (std::size_t i = 1; i < counts.size(); ++i) helpers.emplace_back(work, std::ref(counts[i]));
  work(counts[0]);
  for (std::thread& helper : helpers) helper.join();
  SampleCounts total;
  for (const SampleCounts& own : counts) total += own;
  return total;
}

std::string RenderTimeText(double seconds, int threadCount) {
  return "rendered in " + TwoDecimals(static_cast<float>(seconds * 1000.0)) + " ms on " +
         std::to_string(threadCount) + (threadCount == 1 ? " thread" : " threads");
}
