// Total harmonic distortion read from a spectrum.
#pragma once

#include "render/FrequencyContent.h"

// The RMS sum of the harmonics 2, 3, ... below the spectrum's top, as a
// fraction of the fundamental at fundamentalHertz. Each harmonic's power is
// summed over the bins around it, so a windowed sine between two bins counts
// whole. 0 when the fundamental is silent (below -180 dBFS) or above the
// top.
double totalHarmonicDistortion(const FrequencyContent& spectrum, double fundamentalHertz);
