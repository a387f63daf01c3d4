// One progress bar for several files rendered at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "render/ProgressBar.h"
#include "render/RenderConsole.h"

// Shows the share of all jobs' input rendered so far, every job counting
// alike. The bar appears on a terminal only: for several jobs at once, for
// one job when its file is long enough. Any thread may report.
class BatchProgress {
 public:
  BatchProgress(RenderConsole& console, std::size_t jobs);

  void update(std::size_t job, std::int64_t done, std::int64_t total, int sampleRate);
  void completeJob(std::size_t job);
  // Ends the bar's line, if there is a bar.
  void finish();

 private:
  static constexpr std::int64_t kStepsPerJob = 1000;

  void show();

  std::mutex mutex;
  RenderConsole& console;
  std::vector<double> fractions;
  std::optional<ProgressBar> bar;
};
