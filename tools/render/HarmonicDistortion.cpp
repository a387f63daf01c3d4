#include "render/HarmonicDistortion.h"

#include <algorithm>
#include <cmath>

namespace {

// A Hann window spreads a sine over its bin and two on either side; one more
// takes in a sine that falls between bins.
constexpr double kBinsAround = 3.0;
// Spectra read -200 dB for silence; a fundamental not clearly above that
// is none.
constexpr double kSilentPower = 1e-18;

double powerAround(const FrequencyContent& spectrum, double hertz) {
  const double centre = hertz / spectrum.binHertz;
  const auto first = static_cast<std::size_t>(std::max(1.0, std::ceil(centre - kBinsAround)));
  const auto last = std::min(spectrum.decibels.size() - 1, static_cast<std::size_t>(centre + kBinsAround));
  double power = 0.0;
  for (std::size_t bin = first; bin <= last; ++bin) power += std::pow(10.0, spectrum.decibels[bin] / 10.0);
  return power;
}

}  // namespace

double totalHarmonicDistortion(const FrequencyContent& spectrum, double fundamentalHertz) {
  if (spectrum.decibels.size() < 2 || !(fundamentalHertz > 0.0)) return 0.0;
  const double top = spectrum.binHertz * static_cast<double>(spectrum.decibels.size() - 1);
  if (fundamentalHertz + kBinsAround * spectrum.binHertz > top) return 0.0;
  const double fundamental = powerAround(spectrum, fundamentalHertz);
  if (!(fundamental > kSilentPower)) return 0.0;
  double harmonics = 0.0;
  for (double hertz = 2.0 * fundamentalHertz; hertz + kBinsAround * spectrum.binHertz <= top;
       hertz += fundamentalHertz) {
    harmonics += powerAround(spectrum, hertz);
  }
  return std::sqrt(harmonics / fundamental);
}
