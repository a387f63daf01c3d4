#include "render/GuitarRiff.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "render/PluckedString.h"

namespace {

constexpr double kRiffSeconds = 4.0;
constexpr double kStrumSeconds = 0.012;
constexpr double kReleaseSeconds = 0.08;
constexpr float kStringAmplitude = 0.3f;
constexpr float kPeak = 0.5f;

struct RiffNote {
  double start;
  double length;
  std::initializer_list<float> frequencies;
};

// E2 82.41 Hz, G2 98.00, A2 110.00, D2 73.42; power chords add the fifth
// and the octave.
const RiffNote kRiff[] = {
    {0.00, 0.45, {82.41f, 123.47f, 164.81f}},
    {0.50, 0.20, {82.41f}},
    {0.75, 0.20, {82.41f}},
    {1.00, 0.45, {98.00f, 146.83f, 196.00f}},
    {1.50, 0.45, {110.00f, 164.81f, 220.00f}},
    {2.00, 0.20, {110.00f}},
    {2.25, 0.20, {98.00f}},
    {2.50, 0.45, {73.42f, 110.00f, 146.83f}},
    {3.00, 0.90, {82.41f, 123.47f, 164.81f}},
};

// Adds one string's sound from its start to the end of its release.
void addString(std::vector<float>& riff, float sampleRate, double start, double length, float frequency,
               std::uint32_t seed) {
  PluckedString string(sampleRate, frequency, kStringAmplitude, seed);
  const auto first = static_cast<std::size_t>(start * sampleRate);
  const auto release = first + static_cast<std::size_t>(length * sampleRate);
  const std::size_t end =
      std::min(riff.size(), release + static_cast<std::size_t>(kReleaseSeconds * sampleRate));
  for (std::size_t i = first; i < end; ++i) {
    if (i == release) string.damp();
    riff[i] += string.next();
  }
}

void normalise(std::vector<float>& riff) {
  float peak = 0.0f;
  for (const float sample : riff) peak = std::max(peak, std::fabs(sample));
  if (peak <= 0.0f) return;
  for (float& sample : riff) sample *= kPeak / peak;
}

}  // namespace

std::vector<float> synthesiseGuitarRiff(float sampleRate) {
  std::vector<float> riff(static_cast<std::size_t>(kRiffSeconds * sampleRate), 0.0f);
  std::uint32_t seed = 1;
  for (const RiffNote& note : kRiff) {
    double strum = 0.0;
    for (const float frequency : note.frequencies) {
      addString(riff, sampleRate, note.start + strum, note.length - strum, frequency, seed++);
      strum += kStrumSeconds;
    }
  }
  normalise(riff);
  return riff;
}
