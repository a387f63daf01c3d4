#include "render/PluckedString.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// How much of the noise burst's brightness the pick leaves: a one-pole
// low-pass coefficient, 1 for raw noise.
constexpr float kPickBrightness = 0.6f;

}  // namespace

// Each sample comes back N samples later averaged with its successor, so the
// loop of length N sounds at about rate / (N - 0.5), hence the half sample
// added.
PluckedString::PluckedString(float sampleRate, float frequency, float amplitude, std::uint32_t seed)
    : line(static_cast<std::size_t>(std::max(2.0f, std::round(sampleRate / frequency + 0.5f)))),
      dampedLoss(lossPerRoundTrip(sampleRate, kDampedDecay)),
      loss(lossPerRoundTrip(sampleRate, kRingingDecay)) {
  pluck(amplitude, seed);
}

float PluckedString::lossPerRoundTrip(float sampleRate, float decaySeconds) const {
  return std::exp(-static_cast<float>(line.size()) / (sampleRate * decaySeconds));
}

void PluckedString::pluck(float amplitude, std::uint32_t seed) {
  std::minstd_rand generator(seed);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  float smoothed = 0.0f;
  for (float& sample : line) {
    smoothed += kPickBrightness * (noise(generator) - smoothed);
    sample = smoothed;
  }
  float mean = 0.0f;
  for (const float sample : line) mean += sample;
  mean /= static_cast<float>(line.size());
  float peak = 0.0f;
  for (float& sample : line) {
    sample -= mean;
    peak = std::max(peak, std::fabs(sample));
  }
  const float scale = peak > 0.0f ? amplitude / peak : 0.0f;
  for (float& sample : line) sample *= scale;
}

float PluckedString::next() {
  const std::size_t following = position + 1 == line.size() ? 0 : position + 1;
  const float output = line[position];
  line[position] = loss * 0.5f * (output + line[following]);
  position = following;
  return output;
}
