// A first-order shelf designed at one rate, redesigned at another as one second-order section
// whose magnitude response keeps the one the shelf has at its own rate.
#pragma once

#include <optional>

// The shelf pass is 0.5 * (dry + weight * A(z)) with the first-order allpass
// A(z) = (t - z^-1) / (1 - t z^-1) at the design rate. As the bilinear image of an analog shelf
// it reaches its far gain exactly at the design rate's Nyquist frequency, and that warping shows
// well below it: at 44.1 kHz a 3 kHz shelf is 0.3 dB further on at 15 kHz than the prewarped
// first-order shelf at 176.4 kHz, which no first-order section at that rate can mend.
//
// One second-order section does: its squared magnitude is a ratio of two quadratics in
// u = sin^2(w / 2), which is fitted by least squares, in relative terms, to the shelf's squared
// magnitude at frequencies below the band edge (kBandEdge for a design rate of 44.1 kHz or more,
// the same fraction of a lower design rate) and, held more loosely, between the band edge and
// the Nyquist frequency of the new rate, where the target is the shelf's response with its far
// gain from the design rate's Nyquist frequency on; of a few fits, each holding those loosely to
// another degree, the closest below the band edge is kept. The numerator keeps the shelf's DC
// gain exactly. The weighting toward relative error is refined over a few rounds (each round
// divides by the denominator of the round before), and numerator and denominator are each
// factored into the stable, minimum-phase section with that magnitude. Where the fitted
// numerator would dip below zero above the band (deep cuts with high corners, whose 44.1 kHz
// response plunges toward its Nyquist frequency), the nearest one that touches zero is taken:
// a notch above the band edge.
//
// All in double precision on fixed-size arrays: no allocation, a few microseconds a design.
class ShelfFit {
 public:
  // The pass at the design rate.
  struct Shelf {
    double t, dry, weight;
  };
  // A section at the new rate in the float32 the equaliser runs:
  // (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
  struct Section {
    float b0, b1, b2, a1, a2;
  };

  // The band below which the fitted section must follow the shelf, for a 44.1 kHz design.
  static constexpr double kBandEdge = 15000.0;

  // fromRate: the rate the shelf was designed for; toRate: the rate it will run at.
  ShelfFit(double fromRate, double toRate);

  // The fitted section at toRate. None unless -1 < t < 1, where the section would not be stable
  // and minimum phase, where it strays further from the shelf below the band edge than the
  // prewarped first-order shelf of AllpassRetuning (mixed as the shelf is) does, and where that
  // prewarped shelf is within 0.001 dB of the shelf there already (corners low enough that the
  // warping does not show).
  std::optional<Section> fit(const Shelf& shelf) const;

  // The largest difference in dB between the section's magnitude at toRate and the shelf's at
  // fromRate, over the twelve octaves below the band edge at twelve points an octave.
  double largestDeviationDb(const Section& section, const Shelf& shelf) const;

  // The band edge in Hz for these rates: kBandEdge, scaled down with a design rate below
  // 44.1 kHz and held below 0.45 times toRate.
  double bandEdge() const;

 private:
  std::optional<Section> prewarped(const Shelf& shelf) const;
  double shelfPower(const Shelf& shelf, double hertz) const;
  double sectionPower(const Section& section, double hertz) const;

  double fromRate;
  double toRate;
};
