// The equaliser's allpass sections redesigned for another sample rate, keeping the response
// they have at the rate they were designed for.
#pragma once

#include <optional>

// Each section is read as the bilinear image of an analog allpass: the first-order section
// (t - z^-1) / (1 - t z^-1) has one corner (where its phase is -90 degrees), the second-order
// section (a - (1 + a) k z^-1 + z^-2) / (1 - (1 + a) k z^-1 + a z^-2) two band edges (phase
// -90 and -270 degrees) around its centre. The section at the new rate is the bilinear image,
// prewarped at those frequencies, of the analog allpass with the same corner or edges in Hz,
// so the shelf keeps its corner and gain and the bell its edges, width and gain. Below a
// quarter of the design rate the responses agree closely; nearer its Nyquist frequency the
// design rate's own warping shows, which no section of the same order at another rate repeats.
class AllpassRetuning {
 public:
  struct SecondOrder {
    double alpha;
    double k;
  };

  // fromRate: the rate the sections were designed for; toRate: the rate they will run at.
  AllpassRetuning(double fromRate, double toRate);

  // The first-order coefficient t at toRate; none unless -1 < t < 1 (a section with a corner
  // strictly between 0 Hz and the Nyquist frequency).
  std::optional<double> firstOrder(double t) const;
  // The second-order alpha and k at toRate; none unless both lie strictly between -1 and 1.
  std::optional<SecondOrder> secondOrder(double alpha, double k) const;

 private:
  // The prewarped analog frequency at toRate of the one whose image at fromRate is warped.
  double rewarp(double warped) const;

  double fromRate;
  double toRate;
};
