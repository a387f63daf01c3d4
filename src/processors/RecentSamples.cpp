#include "processors/RecentSamples.h"

#include <algorithm>

void RecentSamples::append(const float* samples, VstInt32 frames) {
  if (frames <= 0) return;
  if (frames >= kCapacity) {
    std::copy(samples + frames - kCapacity, samples + frames, ring.begin());
    next = 0;
    return;
  }
  const VstInt32 first = std::min(frames, kCapacity - next);
  std::copy(samples, samples + first, ring.begin() + next);
  std::copy(samples + first, samples + frames, ring.begin());
  next = (next + frames) % kCapacity;
}

void RecentSamples::clear() {
  ring.fill(0.0f);
  next = 0;
}

bool RecentSamples::silent() const {
  return std::all_of(ring.begin(), ring.end(), [](float sample) { return sample == 0.0f; });
}
