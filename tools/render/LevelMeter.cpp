#include "render/LevelMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

double decibels(double amplitude) {
  return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : -std::numeric_limits<double>::infinity();
}

}  // namespace

void LevelMeter::add(const float* block, std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i) {
    const double sample = block[i];
    if (!std::isfinite(sample)) {
      ++nonFinite;
      continue;
    }
    peak = std::max(peak, std::fabs(sample));
    sumOfSquares += sample * sample;
    ++samples;
  }
}

std::string levelsText(const LevelMeter& meter) {
  if (meter.nonFiniteSamples() > 0) {
    return "no level: " + std::to_string(meter.nonFiniteSamples()) +
           " samples are not finite (NaN or infinite)";
  }
  return "peak " + dbfsText(meter.peakDbfs()) + " dBFS, RMS " + dbfsText(meter.rmsDbfs()) + " dBFS";
}

double LevelMeter::peakDbfs() const { return decibels(peak); }

double LevelMeter::rmsDbfs() const {
  return decibels(samples > 0 ? std::sqrt(sumOfSquares / static_cast<double>(samples)) : 0.0);
}

std::string dbfsText(double level) {
  if (!std::isfinite(level)) return level < 0.0 ? "-inf" : "inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", level);
  return text;
}
