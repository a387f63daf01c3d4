// Magnitude responses of filters under test, read from their impulse responses.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <vector>

// Frequencies from 20 Hz to below highest, a twelfth of an octave apart.
inline std::vector<double> frequenciesBelow(double highest) {
  std::vector<double> frequencies;
  for (double f = 20.0; f < highest; f *= std::pow(2.0, 1.0 / 12.0)) frequencies.push_back(f);
  return frequencies;
}

// The magnitude in dB at each frequency of the filter whose impulse response, at rate, is
// response (long enough for it to have died away).
inline std::vector<double> magnitudeDb(const std::vector<float>& response, double rate,
                                       const std::vector<double>& frequencies) {
  std::vector<double> levels;
  for (const double f : frequencies) {
    const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi * f / rate);
    std::complex<double> turn = 1.0, sum = 0.0;
    for (const float sample : response) {
      sum += static_cast<double>(sample) * turn;
      turn *= step;
    }
    levels.push_back(20.0 * std::log10(std::abs(sum)));
  }
  return levels;
}

// The largest difference, in dB, between two responses at the same frequencies.
inline double largestDifference(const std::vector<double>& a, const std::vector<double>& b) {
  double largest = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::fabs(a[i] - b[i]));
  return largest;
}
