// Rendered output held back until its ending is known.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "render/TailRule.h"

// Passes interleaved output on to its writer, holding back the frames that
// the ending may still change: the quiet frames after the last loud one,
// which a decayed ending trims, and the last rule.fade frames, which an
// ending that has not decayed fades out.
class HeldOutput {
 public:
  using Writer = std::function<void(const float* interleaved, std::int64_t frames)>;

  HeldOutput(int channels, const TailRule& rule, Writer writer);

  void add(const float* interleaved, std::int64_t frames);
  // The input has ended: the output may end at the earliest rule.shortest
  // frames from here.
  void markInputEnd();

  std::int64_t framesAdded() const { return added; }
  // Whether the output has stayed quiet for rule.quietRun frames.
  bool decayed() const { return added - lastLoud - 1 >= rule.quietRun; }
  // The earliest end of a decayed output.
  std::int64_t earliestEnd() const { return earliest; }

  // Writes what is held: a decayed output ends after its last loud frame
  // (not before earliestEnd()), any other is faded out. Returns the frames
  // written in all.
  std::int64_t finish();

 private:
  static constexpr std::int64_t kUnknown = std::numeric_limits<std::int64_t>::max();

  void noteLoudFrames(const float* interleaved, std::int64_t frames);
  void writeUpTo(std::int64_t end);
  void fadeOutBefore(std::int64_t end);

  std::size_t channels;
  TailRule rule;
  Writer writer;
  std::vector<float> held;
  // Absolute frame positions.
  std::int64_t heldStart = 0;
  std::int64_t added = 0;
  std::int64_t lastLoud = -1;
  std::int64_t earliest = kUnknown;
};
