// When the tail of a render ends.
#pragma once

#include <cstdint>

// After its input the effect runs on silence until its output has decayed:
// every sample of every channel at or below the quiet level for quietRun
// frames in a row. The tail is never shorter than the effect reports and
// never longer than longest; a tail cut off at longest is faded out over
// fade frames so the file does not end on a click.
struct TailRule {
  static constexpr double kQuietDbfs = -90.0;
  static constexpr double kQuietSeconds = 0.1;
  static constexpr double kFadeSeconds = 0.01;
  static constexpr double kDefaultLongestSeconds = 30.0;

  float quietLevel = 0.0f;
  std::int64_t quietRun = 0;
  std::int64_t shortest = 0;
  std::int64_t longest = 0;
  std::int64_t fade = 0;

  static TailRule at(double sampleRate, std::int64_t reportedTail, double longestSeconds);
};
