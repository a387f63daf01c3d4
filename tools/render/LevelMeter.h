// Peak and RMS level of a signal.
#pragma once

#include <cstdint>
#include <string>

// Accumulates samples (of any number of channels, taken together) and gives
// their peak and RMS level in dB relative to full scale (1.0).
class LevelMeter {
 public:
  void add(const float* samples, std::int64_t count);

  // -infinity for silence or no samples.
  double peakDbfs() const;
  double rmsDbfs() const;

 private:
  double peak = 0.0;
  double sumOfSquares = 0.0;
  std::int64_t samples = 0;
};

// "-3.01" style with two decimals, or "-inf".
std::string dbfsText(double level);
