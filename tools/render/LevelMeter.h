// Peak and RMS level of a signal.
#pragma once

#include <cstdint>
#include <string>

// Accumulates samples (of any number of channels, taken together) and gives
// their peak and RMS level in dB relative to full scale (1.0). Samples that
// are not finite are counted apart: a level over them would mean nothing.
class LevelMeter {
 public:
  void add(const float* samples, std::int64_t count);

  // -infinity for silence or no samples.
  double peakDbfs() const;
  double rmsDbfs() const;
  std::int64_t nonFiniteSamples() const { return nonFinite; }

 private:
  double peak = 0.0;
  double sumOfSquares = 0.0;
  std::int64_t samples = 0;
  std::int64_t nonFinite = 0;
};

// "peak -1.00 dBFS, RMS -9.03 dBFS", or, when some samples were not finite,
// "no level: 12 samples are not finite (NaN or infinite)".
std::string levelsText(const LevelMeter& meter);

// "-3.01" style with two decimals, or "-inf".
std::string dbfsText(double level);
