#include "pack/TimingExplanation.h"

#include <cstdio>
#include <string>

#include "graph/GraphTiming.h"
#include "pack/GraphNodeNames.h"
#include "pack/SampleCounts.h"
#include "processors/TimeScale.h"

namespace {

constexpr float kHostRates[] = {44100.0f, 48000.0f, 96000.0f, 192000.0f};

std::string formatted(const char* format, double value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string kilohertz(float rate) { return formatted("%g kHz", rate / 1000.0); }

TimeScale scaleOf(const GraphTiming& timing) { return TimeScale(timing.oversampling, timing.referenceRate); }

std::string timingLine(const GraphTiming& timing) {
  std::string line = "timing: oversampling " + std::to_string(timing.oversampling) + ", ";
  line += timing.declaresRate() ? "written for " + formatted("%g Hz", timing.referenceRate) : "no rate named";
  if (scaleOf(timing).isRaw())
    return line + ": counts of samples and equalisers are taken as written at every rate";
  if (!timing.declaresRate())
    return line + ": counts of samples and equalisers are scaled from the host's rate";
  return line + ": counts of samples and equalisers are scaled from that rate";
}

std::string scalingLine(const GraphTiming& timing) {
  const TimeScale scale = scaleOf(timing);
  std::string line = "scaling (run rate / reference rate):";
  for (const float host : kHostRates) {
    line += " " + formatted("%.4g", scale.factor(host * static_cast<float>(timing.oversampling))) + " at " +
            kilohertz(host) + ",";
  }
  line.back() = '\n';
  return line;
}

// "2048 samples (46.4 ms)" at the host rate host.
std::string countAtHost(const SampleCount& count, const GraphTiming& timing, float host) {
  const float run = host * static_cast<float>(timing.oversampling);
  const TimeScale scale = scaleOf(timing);
  const VstInt32 samples = scale.samplesAt(count.countAt(scale.referenceRate(run)), run);
  return std::to_string(samples) + " (" + formatted("%.3g ms", 1000.0 * samples / run) + ")";
}

std::string countLine(const SampleCount& count, const BuiltDescription& description) {
  const GraphTiming& timing = description.report.timing;
  std::string line = "counted in samples: " + nodeName(*count.node, description.report) + ", " + count.what;
  if (!count.countAt) return line + ", scaled as it is read\n";
  line += ": samples at the run rate";
  for (const float host : kHostRates)
    line += " " + countAtHost(count, timing, host) + " at " + kilohertz(host) + ",";
  line.back() = '\n';
  return line;
}

}  // namespace

void explainTiming(const BuiltDescription& description, std::ostream& out) {
  const GraphTiming& timing = description.report.timing;
  out << timingLine(timing) << "\n" << scalingLine(timing);
  const std::vector<SampleCount> counts = sampleCountsOf(description);
  for (const SampleCount& count : counts) out << countLine(count, description);
}
