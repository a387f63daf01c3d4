// The rate a built description runs at and how its counts of samples follow it, as text for
// people.
#pragma once

#include <ostream>

#include "pack/DescriptionCheck.h"

// A line with the oversampling factor and the named rate, a line with the scale of every count
// and equaliser at host rates of 44.1, 48, 96 and 192 kHz, and one line per count of samples
// (SampleCounts) with the samples and milliseconds it comes to at those rates.
void explainTiming(const BuiltDescription& description, std::ostream& out);
