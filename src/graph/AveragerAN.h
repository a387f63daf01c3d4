// The averager: the mean absolute level of a signal over a sliding window.
#pragma once

#include <memory>

#include "graph/AudioNodeProcessor.h"

// Parameter 0 is the window length in samples (default 1), read once per block. Value 0 is
// the mean of the absolute values of the latest windowLength input samples (entries not
// yet written count as 0); any other value is 1. Constant time per sample: a running sum
// of the 32-bit history entries, kept in 64 bits.
class AveragerAN final : public AudioNodeProcessor {
 public:
  static constexpr VstInt32 kLevel = 0;
  // The largest whole number that a float parameter holds exactly: 64 MiB of history,
  // about 380 seconds at 44.1 kHz.
  static constexpr VstInt32 kMaxWindowLength = 1 << 24;

  // Whether requested (truncated toward zero) is a window length from 1 to
  // kMaxWindowLength; false for a value that is not a number.
  static bool isValidWindow(float requested);

  // audio: measures the block of the input's buffer.
  void processBlock(const BufferBank& bank, VstInt32 sampleFrames) override;
  // Whether first and second may measure a block together: neither reads its window from
  // another node, so neither depends on when the other measures.
  bool measuresWithAnother(const AveragerAN& other) const;
  // audio: first.processBlock, then second.processBlock, in one loop (both measure the
  // same block, each its own input); when measuresWithAnother holds.
  static void processBlocks(AveragerAN& first, AveragerAN& second, const BufferBank& bank, VstInt32 sampleFrames);
  // audio: the level for which 0, else 1.
  float getValue(VstInt32 which) override;
  // audio: empties the window (a level of 0), keeping its length.
  void clearState() override;

  // build or audio: makes the window requested samples long (truncated toward zero); a new
  // length starts from an empty history. A length below 1 or above kMaxWindowLength (or
  // not a number), or a history that cannot be allocated, is refused: the previous window
  // stays and the result is false. Allocates only when the length changes.
  bool setWindowLength(float requested);

 private:
  struct Measurement;
  bool readsNoOtherNode() const;
  bool prepare();
  Measurement start(const BufferBank& bank) const;
  void measure(const BufferBank& bank, VstInt32 sampleFrames);
  void keep(const Measurement& measurement);

  VstInt32 windowLength = 0;
  VstInt32 writePos = 0;
  std::unique_ptr<float[]> history;
  double runningSum = 0.0;
};
