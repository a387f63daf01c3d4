#include "processors/ShelfFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>

#include "processors/AllpassRetuning.h"

namespace {

constexpr double kReferenceRate = 44100.0;
// The band edge as a fraction of the new rate, at most.
constexpr double kHighestFraction = 0.45;

// Fitted frequencies: below the band edge, twelve octaves at four a octave; above it, evenly
// spaced up to the new rate's Nyquist frequency.
constexpr int kOctaves = 12;
constexpr int kBandPointsPerOctave = 4;
constexpr int kBandPoints = kOctaves * kBandPointsPerOctave + 1;
constexpr int kTailPoints = 8;
constexpr int kPoints = kBandPoints + kTailPoints;
// How loosely the frequencies above the band edge are held: the fit is made with each, and the
// one closest to the shelf below the band edge kept. Looser holds follow the band more closely;
// tighter ones are needed where a loose one leaves no stable, minimum-phase section.
constexpr std::array<double, 5> kTailWeights = {0.01, 0.03, 0.1, 0.3, 1.0};
// Compared frequencies, over the same octaves.
constexpr int kComparedPointsPerOctave = 12;
constexpr int kComparedPoints = kOctaves * kComparedPointsPerOctave + 1;

constexpr int kRounds = 6;

// A prewarped first-order shelf this close already (low corners) is kept: its allpass and mix
// round less than a direct-form section with a pole that near DC, so it adds less noise.
constexpr double kCloseEnoughDb = 0.001;

// n1, n2, d1, d2 of N(u) = n0 + n1 u + n2 u^2 over D(u) = 1 + d1 u + d2 u^2, n0 the shelf's
// squared DC gain.
constexpr int kUnknowns = 4;
using Vector = std::array<double, kUnknowns>;
using Matrix = std::array<Vector, kUnknowns>;

// A fitted frequency: u = sin^2(w / 2) at the new rate and the shelf's squared magnitude there.
struct Point {
  double u, target;
  bool inBand;
};
using Points = std::array<Point, kPoints>;

// c0 + c1 x + c2 x^2.
struct Quadratic {
  double c0, c1, c2;
};

// Gaussian elimination with partial pivoting; none for a singular system.
std::optional<Vector> solve(Matrix a, Vector b) {
  for (int column = 0; column < kUnknowns; ++column) {
    int pivot = column;
    for (int row = column + 1; row < kUnknowns; ++row) {
      if (std::fabs(a[row][column]) > std::fabs(a[pivot][column])) pivot = row;
    }
    if (!(std::fabs(a[pivot][column]) > 0.0)) return std::nullopt;
    std::swap(a[column], a[pivot]);
    std::swap(b[column], b[pivot]);
    for (int row = 0; row < kUnknowns; ++row) {
      if (row == column) continue;
      const double factor = a[row][column] / a[column][column];
      for (int k = column; k < kUnknowns; ++k) a[row][k] -= factor * a[column][k];
      b[row] -= factor * b[column];
    }
  }
  Vector x{};
  for (int i = 0; i < kUnknowns; ++i) x[i] = b[i] / a[i][i];
  return x;
}

// The quadratic in v = tan^2(w / 2) equal to (1 + v)^2 q(u) for u = sin^2(w / 2) = v / (1 + v).
Quadratic inTangent(const Quadratic& q) { return {q.c0, 2.0 * q.c0 + q.c1, q.c0 + q.c1 + q.c2}; }

// The analog b0 + b1 s + b2 s^2 with b0, b1, b2 >= 0 (so minimum phase) whose squared magnitude at
// s = j nu is q(nu^2), none where q(0) or q(infinity) is negative. Where q dips below zero
// between them, b1 is 0: the nearest such quadratic, with its roots on the imaginary axis.
std::optional<Quadratic> factor(const Quadratic& q) {
  if (!(q.c0 >= 0.0 && q.c2 >= 0.0)) return std::nullopt;
  const double cross = std::max(q.c1 + 2.0 * std::sqrt(q.c0 * q.c2), 0.0);
  return Quadratic{std::sqrt(q.c0), std::sqrt(cross), std::sqrt(q.c2)};
}

// The bilinear image, s = (1 - z^-1) / (1 + z^-1), times (1 + z^-1)^2: coefficients of z^0, z^-1, z^-2.
Quadratic bilinear(const Quadratic& analog) {
  return {analog.c0 + analog.c1 + analog.c2, 2.0 * (analog.c0 - analog.c2),
          analog.c0 - analog.c1 + analog.c2};
}

double hertzBelowEdge(double edge, int index, int perOctave) {
  return edge * std::exp2(-static_cast<double>(index) / perOctave);
}

// The fitted frequencies below edge and above it up to toRate / 2, with the shelf's squared
// magnitude from power(hertz).
template <typename Power>
Points fitPoints(double edge, double toRate, const Power& power) {
  Points points{};
  for (int i = 0; i < kPoints; ++i) {
    const bool inBand = i < kBandPoints;
    const double hertz = inBand ? hertzBelowEdge(edge, i, kBandPointsPerOctave)
                                : edge + (0.5 * toRate - edge) * (i - kBandPoints + 1) / kTailPoints;
    const double sine = std::sin(std::numbers::pi * hertz / toRate);
    points[i] = {sine * sine, power(hertz), inBand};
  }
  return points;
}

// One round: the least-squares n1, n2, d1, d2 of N(u) - target D(u) = 0 at every point, each
// equation divided by target times the last round's D(u) so that it weighs the relative error,
// the columns scaled to unit length for the normal equations.
std::optional<Vector> refine(const Points& points, double dc, double tailWeight, const Vector& last) {
  std::array<Vector, kPoints> rows{};
  std::array<double, kPoints> right{};
  Vector scale{};
  for (int i = 0; i < kPoints; ++i) {
    const Point& p = points[i];
    const double lastDenominator = 1.0 + last[2] * p.u + last[3] * p.u * p.u;
    const double s = (p.inBand ? 1.0 : tailWeight) / (p.target * lastDenominator);
    rows[i] = {s * p.u, s * p.u * p.u, -s * p.target * p.u, -s * p.target * p.u * p.u};
    right[i] = s * (p.target - dc);
    for (int k = 0; k < kUnknowns; ++k) scale[k] += rows[i][k] * rows[i][k];
  }
  for (double& s : scale) s = s > 0.0 ? std::sqrt(s) : 1.0;
  Matrix normal{};
  Vector projected{};
  for (int i = 0; i < kPoints; ++i) {
    for (int j = 0; j < kUnknowns; ++j) {
      projected[j] += rows[i][j] / scale[j] * right[i];
      for (int k = 0; k < kUnknowns; ++k) normal[j][k] += rows[i][j] / scale[j] * rows[i][k] / scale[k];
    }
  }
  std::optional<Vector> solved = solve(normal, projected);
  if (solved) {
    for (int k = 0; k < kUnknowns; ++k) (*solved)[k] /= scale[k];
  }
  return solved;
}

// The section of the fit, none where it has no stable, minimum-phase factors.
std::optional<ShelfFit::Section> fitted(const Points& points, double dc, double tailWeight) {
  Vector x{};
  for (int round = 0; round < kRounds; ++round) {
    const std::optional<Vector> refined = refine(points, dc, tailWeight, x);
    if (!refined) return std::nullopt;
    x = *refined;
  }
  const std::optional<Quadratic> numerator = factor(inTangent({dc, x[0], x[1]}));
  const std::optional<Quadratic> denominator = factor(inTangent({1.0, x[2], x[3]}));
  // Strictly positive denominator coefficients keep both poles inside the unit circle; the
  // numerator may put its zeros on it, a notch above the band edge where the fit would dip below
  // zero there.
  if (!numerator || !denominator ||
      !(denominator->c0 > 0.0 && denominator->c1 > 0.0 && denominator->c2 > 0.0)) {
    return std::nullopt;
  }
  const Quadratic b = bilinear(*numerator), a = bilinear(*denominator);
  return ShelfFit::Section{static_cast<float>(b.c0 / a.c0), static_cast<float>(b.c1 / a.c0),
                           static_cast<float>(b.c2 / a.c0), static_cast<float>(a.c1 / a.c0),
                           static_cast<float>(a.c2 / a.c0)};
}

}  // namespace

ShelfFit::ShelfFit(double fromRate, double toRate) : fromRate(fromRate), toRate(toRate) {}

double ShelfFit::bandEdge() const {
  const double scaled = kBandEdge * std::min(fromRate / kReferenceRate, 1.0);
  return std::min(scaled, kHighestFraction * toRate);
}

std::optional<ShelfFit::Section> ShelfFit::fit(const Shelf& shelf) const {
  const std::optional<Section> plain = prewarped(shelf);
  if (!plain) return std::nullopt;
  double closestDeviation = largestDeviationDb(*plain, shelf);
  if (closestDeviation <= kCloseEnoughDb) return std::nullopt;
  const Points points = fitPoints(bandEdge(), toRate, [&](double hertz) { return shelfPower(shelf, hertz); });
  const double dc = shelfPower(shelf, 0.0);
  std::optional<Section> closest;
  for (const double tailWeight : kTailWeights) {
    const std::optional<Section> section = fitted(points, dc, tailWeight);
    if (!section) continue;
    const double deviation = largestDeviationDb(*section, shelf);
    if (deviation < closestDeviation) {
      closest = section;
      closestDeviation = deviation;
    }
  }
  return closest;
}

std::optional<ShelfFit::Section> ShelfFit::prewarped(const Shelf& shelf) const {
  const std::optional<double> t = AllpassRetuning(fromRate, toRate).firstOrder(shelf.t);
  if (!t) return std::nullopt;
  const double tuned = static_cast<float>(*t);
  return Section{static_cast<float>(0.5 * (shelf.dry + shelf.weight * tuned)),
                 static_cast<float>(-0.5 * (shelf.dry * tuned + shelf.weight)), 0.0f,
                 static_cast<float>(-tuned), 0.0f};
}

double ShelfFit::largestDeviationDb(const Section& section, const Shelf& shelf) const {
  const double edge = bandEdge();
  double largest = 0.0;
  for (int i = 0; i < kComparedPoints; ++i) {
    const double hertz = hertzBelowEdge(edge, i, kComparedPointsPerOctave);
    const double ratio = sectionPower(section, hertz) / shelfPower(shelf, hertz);
    largest = std::max(largest, std::fabs(10.0 * std::log10(ratio)));
  }
  return largest;
}

// The shelf's squared magnitude at the design rate, held at its Nyquist value above it.
double ShelfFit::shelfPower(const Shelf& shelf, double hertz) const {
  const double w = 2.0 * std::numbers::pi * std::min(hertz, 0.5 * fromRate) / fromRate;
  const std::complex<double> delay = std::polar(1.0, -w);
  const std::complex<double> allpass = (shelf.t - delay) / (1.0 - shelf.t * delay);
  return std::norm(0.5 * (shelf.dry + shelf.weight * allpass));
}

double ShelfFit::sectionPower(const Section& section, double hertz) const {
  const std::complex<double> delay = std::polar(1.0, -2.0 * std::numbers::pi * hertz / toRate);
  const std::complex<double> numerator =
      static_cast<double>(section.b0) +
      delay * (static_cast<double>(section.b1) + delay * static_cast<double>(section.b2));
  const std::complex<double> denominator =
      1.0 + delay * (static_cast<double>(section.a1) + delay * static_cast<double>(section.a2));
  return std::norm(numerator / denominator);
}
