// How a processing loop hands its result to the output buffer.
#pragma once

#include "processors/Float4.h"

// Replacing routines overwrite the output; the legacy accumulating routines add to what the
// output already holds.
enum class OutputMode { replace, accumulate };

// Writes one sample (float) or four (Float4) at output.
template <OutputMode mode, typename Samples>
inline void writeOutput(float* output, Samples value) {
  if constexpr (mode == OutputMode::replace) {
    storeSamples(output, value);
  } else {
    storeSamples(output, loadSamples<Samples>(output) + value);
  }
}
