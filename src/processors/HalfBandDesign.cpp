#include "processors/HalfBandDesign.h"

#include <cmath>
#include <complex>
#include <numbers>

// The elliptic half-band through the nome of its modulus: the transition gives the
// selectivity k and the nome q; the attenuation the order; each coefficient follows from
// the theta-function series of the Jacobi elliptic functions, which converge within a few
// terms because q is small.
namespace {

constexpr double kPi = std::numbers::pi;
// Terms of a series below this no longer change the sum.
constexpr double kNegligible = 1e-100;

struct Selectivity {
  double k;
  double q;
};

Selectivity selectivity(double transition) {
  const double root = std::tan((1.0 - 2.0 * transition) * kPi / 4.0);
  const double k = root * root;
  const double complement = std::pow(1.0 - k * k, 0.25);
  const double e = 0.5 * (1.0 - complement) / (1.0 + complement);
  const double e4 = e * e * e * e;
  return {k, e * (1.0 + e4 * (2.0 + e4 * (15.0 + 150.0 * e4)))};
}

int order(double attenuationDb, double q) {
  const double power = std::pow(10.0, -attenuationDb / 10.0);
  const double ratio = power / (1.0 - power);
  int order = static_cast<int>(std::ceil(std::log(ratio * ratio / 16.0) / std::log(q)));
  if (order % 2 == 0) ++order;
  return std::max(order, 3);
}

// sum over i >= 0 of (-1)^i q^(i(i+1)) sin((2i+1) c pi / order)
double numeratorSeries(double q, int order, int c) {
  double sum = 0.0;
  for (int i = 0;; ++i) {
    const double term = std::pow(q, i * (i + 1.0)) * std::sin((2.0 * i + 1.0) * c * kPi / order);
    sum += i % 2 == 0 ? term : -term;
    if (std::fabs(term) < kNegligible || i > 64) return sum;
  }
}

// sum over i >= 1 of (-1)^i q^(i^2) cos(2 i c pi / order)
double denominatorSeries(double q, int order, int c) {
  double sum = 0.0;
  for (int i = 1;; ++i) {
    const double term = std::pow(q, static_cast<double>(i) * i) * std::cos(2.0 * i * c * kPi / order);
    sum += i % 2 == 0 ? term : -term;
    if (std::fabs(term) < kNegligible || i > 64) return sum;
  }
}

double coefficient(const Selectivity& s, int order, int index) {
  const int c = index + 1;
  const double w =
      numeratorSeries(s.q, order, c) * std::pow(s.q, 0.25) / (denominatorSeries(s.q, order, c) + 0.5);
  const double w2 = w * w;
  const double x = std::sqrt((1.0 - w2 * s.k) * (1.0 - w2 / s.k)) / (1.0 + w2);
  return (1.0 - x) / (1.0 + x);
}

}  // namespace

std::vector<double> designHalfBand(double transition, double attenuationDb) {
  const Selectivity s = selectivity(transition);
  const int sections = (order(attenuationDb, s.q) - 1) / 2;
  std::vector<double> coefficients;
  for (int index = 0; index < sections; ++index)
    coefficients.push_back(coefficient(s, sections * 2 + 1, index));
  return coefficients;
}

double halfBandGain(const std::vector<double>& coefficients, double frequency) {
  const std::complex<double> z2 = std::polar(1.0, -4.0 * kPi * frequency);
  std::complex<double> branch[2] = {1.0, 1.0};
  for (std::size_t k = 0; k < coefficients.size(); ++k) {
    const double a = coefficients[k];
    branch[k % 2] *= (a + z2) / (1.0 + a * z2);
  }
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * frequency);
  return std::abs(0.5 * (branch[0] + z1 * branch[1]));
}
