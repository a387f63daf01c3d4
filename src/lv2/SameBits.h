// Port values compared as hosts write them.
#pragma once

#include <cstring>

// Whether a and b have the same bits: a value the host wrote again is no
// change, and a NaN is one too, once.
inline bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
