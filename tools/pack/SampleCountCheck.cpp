#include "pack/SampleCountCheck.h"

#include <cstdio>

#include "pack/SampleCounts.h"
#include "processors/TimeScale.h"

namespace {

std::string milliseconds(VstInt32 samples, float rate) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g ms", 1000.0 * samples / rate);
  return text;
}

// "46.4 ms at 44.1 kHz but 10.7 ms at 192 kHz".
std::string durations(const SampleCount& count) {
  const VstInt32 low = count.countAt(44100.0f);
  const VstInt32 high = count.countAt(TimeScale::kHighestHostRate);
  return milliseconds(low, 44100.0f) + " at 44.1 kHz but " + milliseconds(high, TimeScale::kHighestHostRate) +
         " at 192 kHz";
}

std::string problem(const SampleCount& count) {
  if (!count.countAt) return "counts samples, so it lasts another time at every host rate";
  return "lasts " + durations(count);
}

}  // namespace

void checkSampleCounts(const BuiltDescription& built, const std::string& source, PackWarnings& warnings) {
  if (built.report.timing.declaresRate()) return;
  for (const SampleCount& count : sampleCountsOf(built)) {
    const bool averager = count.node->kind == AudioNode::kControl;
    if (!averager && !count.limitedAtHighRates) continue;
    warnings.add(source, built.report.origins.at(count.node).line,
                 "the " + count.what + " " + problem(count) +
                     "; name the rate the description was written for (rate=\"44100\" on <torvix>) to keep "
                     "its time at every rate");
  }
}
