// The design of a half-band low-pass made of two parallel chains of first-order allpass
// sections: H(z) = (A0(z^2) + z^-1 A1(z^2)) / 2, the elliptic (equiripple) choice, whose
// stop band and pass band mirror each other about a quarter of the rate.
#pragma once

#include <vector>

// The allpass coefficients, ascending, of the lowest odd order whose stop band starts
// transition (a fraction of the filter's rate, between 0 and 1/2) above the pass band's
// edge at (1/2 - transition) / 2 and is attenuated by at least attenuationDb. Coefficient
// k belongs to A0 for even k and to A1 for odd k; each section is (a + z^-2) / (1 + a z^-2)
// at the filter's rate.
std::vector<double> designHalfBand(double transition, double attenuationDb);

// The half-band's gain at frequency (a fraction of its rate), computed from coefficients.
double halfBandGain(const std::vector<double>& coefficients, double frequency);
