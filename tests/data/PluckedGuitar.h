// A synthetic guitar part for listening tests of whole sounds.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

// Plucked strings (a noise burst circulating in a delay line through a
// two-point average, which loses the highs first as a real string does,
// damped over 10 ms at the end of each note):
// a strummed E power chord, two muted chugs, an A chord and a held high
// note, about three seconds at 44.1 kHz with its peak at the given level.
inline std::vector<float> pluckedGuitar(float peak = 0.25f) {
  constexpr double kRate = 44100.0;
  struct Note {
    double start;
    double length;
    std::initializer_list<double> frequencies;
  };
  const Note notes[] = {{0.0, 0.9, {82.41, 123.47, 164.81}},
                        {1.0, 0.15, {82.41}},
                        {1.2, 0.15, {82.41}},
                        {1.4, 0.6, {110.0, 164.81, 220.0}},
                        {2.1, 0.9, {329.63}}};
  std::vector<double> mix(static_cast<std::size_t>(3.1 * kRate), 0.0);
  std::uint32_t noise = 20240601u;
  int strummed = 0;
  for (const Note& note : notes) {
    for (const double frequency : note.frequencies) {
      std::vector<double> string(static_cast<std::size_t>(std::lround(kRate / frequency - 0.5)));
      for (double& sample : string) {
        noise = noise * 1664525u + 1013904223u;
        sample = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
      }
      const auto start = static_cast<std::size_t>((note.start + 0.012 * strummed++) * kRate);
      const auto length = static_cast<std::size_t>(note.length * kRate);
      const auto release = static_cast<std::size_t>(0.01 * kRate);
      std::size_t position = 0;
      for (std::size_t i = 0; i < length && start + i < mix.size(); ++i) {
        const std::size_t following = (position + 1) % string.size();
        const double damping = std::min(1.0, static_cast<double>(length - i) / static_cast<double>(release));
        mix[start + i] += damping * string[position];
        string[position] = 0.998 * 0.5 * (string[position] + string[following]);
        position = following;
      }
    }
    strummed = 0;
  }
  double loudest = 0.0;
  for (const double sample : mix) loudest = std::max(loudest, std::fabs(sample));
  std::vector<float> samples(mix.size());
  for (std::size_t i = 0; i < mix.size(); ++i) samples[i] = static_cast<float>(mix[i] * peak / loudest);
  return samples;
}
