// Deterministic test signals for graph tests.
#pragma once

#include <cstddef>
#include <vector>

// A signal in [-amplitude, amplitude] without a repeating pattern; seed picks the sequence.
inline std::vector<float> testSignal(std::size_t length, float amplitude = 1.0f, unsigned seed = 12345u) {
  std::vector<float> signal(length);
  unsigned state = seed;
  for (float& sample : signal) {
    state = state * 1664525u + 1013904223u;
    sample = amplitude * (static_cast<float>(state >> 8) / 8388608.0f - 1.0f);
  }
  return signal;
}
