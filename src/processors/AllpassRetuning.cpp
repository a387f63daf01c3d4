#include "processors/AllpassRetuning.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Frequencies are kept this far below the Nyquist frequency of the new rate.
constexpr double kHighestFraction = 0.499;

bool inside(double value) { return value > -1.0 && value < 1.0; }

}  // namespace

AllpassRetuning::AllpassRetuning(double fromRate, double toRate) : fromRate(fromRate), toRate(toRate) {}

// warped = tan(pi f / fromRate) for the frequency f in Hz; the result is tan(pi f / toRate).
double AllpassRetuning::rewarp(double warped) const {
  const double hertz = fromRate / std::numbers::pi * std::atan(warped);
  const double fraction = std::min(hertz / toRate, kHighestFraction);
  return std::tan(std::numbers::pi * fraction);
}

// t = (1 - W) / (1 + W) for the section whose corner is at the warped frequency W.
std::optional<double> AllpassRetuning::firstOrder(double t) const {
  if (!inside(t)) return std::nullopt;
  const double corner = rewarp((1.0 - t) / (1.0 + t));
  return (1.0 - corner) / (1.0 + corner);
}

// The analog allpass (s^2 - B s + W0^2) / (s^2 + B s + W0^2) has k = (1 - W0^2) / (1 + W0^2)
// and alpha = (1 + W0^2 - B) / (1 + W0^2 + B); its edges are the roots of W^2 -+ B W - W0^2.
std::optional<AllpassRetuning::SecondOrder> AllpassRetuning::secondOrder(double alpha, double k) const {
  if (!inside(alpha) || !inside(k)) return std::nullopt;
  const double centreSquared = (1.0 - k) / (1.0 + k);
  const double width = (1.0 + centreSquared) * (1.0 - alpha) / (1.0 + alpha);
  const double root = std::sqrt(width * width + 4.0 * centreSquared);
  const double lower = rewarp((root - width) / 2.0);
  const double upper = rewarp((root + width) / 2.0);
  const double newCentreSquared = lower * upper;
  const double newWidth = upper - lower;
  return SecondOrder{(1.0 + newCentreSquared - newWidth) / (1.0 + newCentreSquared + newWidth),
                     (1.0 - newCentreSquared) / (1.0 + newCentreSquared)};
}
