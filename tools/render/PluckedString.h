// A plucked string after Karplus and Strong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A delay line one period long, filled with a burst of filtered noise (the
// pluck) and fed back through a two-point average with a little loss: the
// average takes the highs away a bit more on every round trip, as a real
// string's do. The loss per round trip is set from a decay time, so strings
// of every pitch ring, and stop when damped, equally long. damp() shortens
// the decay, like a palm resting on the string.
class PluckedString {
 public:
  PluckedString(float sampleRate, float frequency, float amplitude, std::uint32_t seed);

  float next();
  void damp() { loss = dampedLoss; }

 private:
  // Seconds in which the amplitude falls by a factor e.
  static constexpr float kRingingDecay = 0.6f;
  static constexpr float kDampedDecay = 0.017f;

  void pluck(float amplitude, std::uint32_t seed);
  float lossPerRoundTrip(float sampleRate, float decaySeconds) const;

  std::vector<float> line;
  std::size_t position = 0;
  float dampedLoss;
  float loss;
};
