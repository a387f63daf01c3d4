// How a processing loop hands its result to the output buffer.
#pragma once

// Replacing routines overwrite the output; the legacy accumulating routines add to what the
// output already holds.
enum class OutputMode { replace, accumulate };

template <OutputMode mode>
inline void writeOutput(float& output, float value) {
  if constexpr (mode == OutputMode::replace) {
    output = value;
  } else {
    output += value;
  }
}
