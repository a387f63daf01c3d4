// The demo's input: a short riff on a synthesised guitar.
#pragma once

#include <vector>

// About four seconds of a mono electric-guitar riff in E: power chords
// strummed string by string, muted single notes between them, a final
// ringing chord. The same every time (fixed noise seeds), peaking at half
// of full scale.
std::vector<float> synthesiseGuitarRiff(float sampleRate);
