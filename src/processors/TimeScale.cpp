#include "processors/TimeScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

VstInt32 wholeSamples(double samples) {
  constexpr double highest = std::numeric_limits<VstInt32>::max();
  if (!(samples > 0.0)) return 0;
  return samples >= highest ? std::numeric_limits<VstInt32>::max() : static_cast<VstInt32>(samples);
}

}  // namespace

TimeScale::TimeScale(VstInt32 oversampling, float declaredRate)
    : oversampling(std::max(oversampling, 1)), declaredRate(declaredRate > 0.0f ? declaredRate : 0.0f) {}

float TimeScale::referenceRate(float runRate) const {
  if (declaredRate > 0.0f) return declaredRate;
  return runRate / static_cast<float>(oversampling);
}

double TimeScale::factor(float runRate) const {
  if (isRaw()) return 1.0;
  return static_cast<double>(runRate) / static_cast<double>(referenceRate(runRate));
}

VstInt32 TimeScale::samplesAt(VstInt32 count, float runRate) const {
  if (isRaw()) return count;
  return wholeSamples(std::round(static_cast<double>(count) * factor(runRate)));
}

double TimeScale::highestFactor() const {
  const double highest = declaredRate > 0.0f
                             ? oversampling * static_cast<double>(kHighestHostRate) / declaredRate
                             : static_cast<double>(oversampling);
  return std::clamp(highest, 1.0, kMaxStorageFactor);
}

VstInt32 TimeScale::storageFor(VstInt32 count) const {
  if (isRaw()) return count;
  return wholeSamples(std::ceil(static_cast<double>(count) * highestFactor()));
}
