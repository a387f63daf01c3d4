#include "render/BatchProgress.h"

#include <numeric>

BatchProgress::BatchProgress(RenderConsole& console, std::size_t jobs)
    : console(console), fractions(jobs, 0.0) {}

void BatchProgress::update(std::size_t job, std::int64_t done, std::int64_t total, int sampleRate) {
  if (!console.progressOnErr || total <= 0) return;
  const std::lock_guard<std::mutex> lock(mutex);
  fractions[job] = static_cast<double>(done) / static_cast<double>(total);
  if (!bar && (fractions.size() > 1 || worthAProgressBar(total, sampleRate))) {
    bar.emplace(console.err, kStepsPerJob * static_cast<std::int64_t>(fractions.size()));
  }
  show();
}

void BatchProgress::completeJob(std::size_t job) {
  const std::lock_guard<std::mutex> lock(mutex);
  fractions[job] = 1.0;
  show();
}

void BatchProgress::finish() {
  const std::lock_guard<std::mutex> lock(mutex);
  if (bar) bar->finish();
}

void BatchProgress::show() {
  if (!bar) return;
  const double all = std::accumulate(fractions.begin(), fractions.end(), 0.0);
  bar->update(static_cast<std::int64_t>(all * kStepsPerJob));
}
