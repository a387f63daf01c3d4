// Counts of samples in a description that names no rate: they last another time at every
// host rate.
#pragma once

#include <string>

#include "pack/DescriptionCheck.h"
#include "pack/PackWarnings.h"

// Unless built's description names its rate, adds a warning naming source and the node's line
// for each averager window (which counts samples at any rate), and for each limiter window and
// delay whose limit in samples shortens it at 192 kHz.
void checkSampleCounts(const BuiltDescription& built, const std::string& source, PackWarnings& warnings);
