#include "pack/SampleCounts.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "graph/AveragerAN.h"
#include "graph/DescriptionText.h"
#include "processors/ADelay.h"
#include "processors/TimeScale.h"
#include "processors/ZrClipper.h"

namespace {

// What the processors compute: a time in seconds at rate, truncated and held to limit.
VstInt32 heldCount(double seconds, float rate, VstInt32 limit) {
  const double samples = seconds * rate;
  if (!(samples > 0.0)) return 0;
  return samples >= limit ? limit : static_cast<VstInt32>(samples);
}

std::optional<SampleCount> averagerCount(const AveragerAN& averager) {
  const std::optional<float> window = averager.constantWindow();
  if (!window) return SampleCount{&averager, "averager's window that follows another node", {}, false};
  const auto samples = static_cast<VstInt32>(*window);
  return SampleCount{&averager, "averager's window of " + std::to_string(samples) + " samples",
                     [samples](float) { return samples; }, false};
}

std::optional<SampleCount> limiterCount(const AudioNode& node, ZrClipper& clipper) {
  const float milliseconds = clipper.getParameter(4);
  const double seconds = static_cast<double>(milliseconds) / 1000.0;
  if (heldCount(seconds, TimeScale::kHighestHostRate, ZrClipper::kMaxWindowLength) <= 1) return std::nullopt;
  return SampleCount{&node,
                     "clipper's limiter window of " + numberText(milliseconds) + " ms (at most " +
                         std::to_string(ZrClipper::kMaxWindowLength) + " samples)",
                     [seconds](float rate) { return heldCount(seconds, rate, ZrClipper::kMaxWindowLength); },
                     seconds * TimeScale::kHighestHostRate > ZrClipper::kMaxWindowLength};
}

SampleCount delayCount(const AudioNode& node, ADelay& delay) {
  const float units = delay.getParameter(0);
  const double seconds = static_cast<double>(units) * 0.2;
  return SampleCount{&node,
                     "delay line of " + numberText(units * 200.0f) + " ms (at most " +
                         std::to_string(ADelay::kBufferSize) + " samples)",
                     [seconds](float rate) { return heldCount(seconds, rate, ADelay::kBufferSize); },
                     seconds * TimeScale::kHighestHostRate > ADelay::kBufferSize};
}

std::optional<SampleCount> countOf(const AudioNode& node) {
  if (const auto* averager = dynamic_cast<const AveragerAN*>(&node)) return averagerCount(*averager);
  if (auto* clipper = dynamic_cast<ZrClipper*>(node.effect.get())) return limiterCount(node, *clipper);
  if (auto* delay = dynamic_cast<ADelay*>(node.effect.get())) return delayCount(node, *delay);
  return std::nullopt;
}

}  // namespace

std::vector<SampleCount> sampleCountsOf(const BuiltDescription& built) {
  std::vector<std::pair<int, SampleCount>> found;
  for (const auto& [node, origin] : built.report.origins) {
    if (std::optional<SampleCount> count = countOf(*node)) found.emplace_back(origin.line, std::move(*count));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<SampleCount> counts;
  for (auto& [line, count] : found) counts.push_back(std::move(count));
  return counts;
}
