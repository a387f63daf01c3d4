// The averager: the mean absolute level of a signal over a sliding window.
#pragma once

#include <memory>
#include <optional>

#include "graph/AudioNodeProcessor.h"
#include "processors/TimeScale.h"

// Parameter 0 is the window length in samples (default 1), read once per block. Value 0 is
// the mean of the absolute values of the latest windowLength input samples (entries not
// yet written count as 0); any other value is 1. Constant time per sample: a running sum
// of the 32-bit history entries, kept in 64 bits. The window counts samples at the time
// scale's reference rate and is stretched to the rate the graph runs at (raw: as written).
class AveragerAN final : public AudioNodeProcessor {
 public:
  static constexpr VstInt32 kLevel = 0;
  // The longest constant window: the largest whole number that a float parameter holds
  // exactly, 64 MiB of history, about 380 seconds at 44.1 kHz.
  static constexpr VstInt32 kMaxWindowLength = 1 << 24;
  // The longest window that follows another node's value, in samples at the reference rate
  // (256 KiB of history unscaled, 1.5 seconds at 44.1 kHz); a longer one is held to it. Such a
  // window gets this much history, stretched as far as its time scale may stretch it, when its
  // graph is built, since its length is known only as it runs. Far above what a divider's
  // ratio (at most 100) can ask; raise it here should a description need more.
  static constexpr VstInt32 kMaxFollowedWindow = 1 << 16;

  // Whether requested (truncated toward zero) is a constant window length from 1 to
  // kMaxWindowLength; false for a value that is not a number.
  static bool isValidWindow(float requested);

  // audio: measures the block of the input's buffer.
  void processBlock(const BufferBank& bank, VstInt32 sampleFrames) override;
  // Whether first and second may measure a block together: neither reads its window from
  // another node, so neither depends on when the other measures.
  bool measuresWithAnother(const AveragerAN& other) const;
  // audio: first.processBlock, then second.processBlock, in one loop (both measure the
  // same block, each its own input); when measuresWithAnother holds.
  static void processBlocks(AveragerAN& first, AveragerAN& second, const BufferBank& bank,
                            VstInt32 sampleFrames);
  // audio: the level for which 0, else 1.
  float getValue(VstInt32 which) override;
  // audio: empties the window (a level of 0), keeping its length.
  void clearState() override;

  // build: the rate the window is counted at; before allocateHistory. Raw by default.
  void setTimeScale(const TimeScale& scale) { timeScale = scale; }
  // host: the graph's run rate, to which the window is stretched from the next block on.
  void sampleRateChanged(float rate) override { runRate = rate; }

  // build: the window parameter's constant, or none when it follows another node (an
  // unbound window is the constant 1).
  std::optional<float> constantWindow() const;
  // build: the samples of history the averager needs: its constant window (truncated), or
  // kMaxFollowedWindow for a window that follows another node, either as stretched at the
  // highest rate its time scale allows for. The constant must be valid.
  VstInt32 historyNeeded() const;
  // build: allocates historyNeeded() samples of history and sets a constant window. False,
  // with nothing changed, when memory runs out.
  bool allocateHistory();

  // audio: makes the window requested reference samples long (truncated toward zero, then
  // stretched to the run rate, at least one sample), held to the history allocated at build;
  // a new length starts from an empty history. A length below 1
  // or not a number, or no history yet, is refused: the previous window stays and the result
  // is false. Allocates nothing.
  bool setWindowLength(float requested);
  // The samples the window holds now (0 before a valid window), for inspection.
  VstInt32 windowSamples() const { return windowLength; }

 private:
  struct Measurement;
  bool readsNoOtherNode() const;
  bool prepare();
  Measurement start(const BufferBank& bank) const;
  void measure(const BufferBank& bank, VstInt32 sampleFrames);
  void keep(const Measurement& measurement);

  TimeScale timeScale;
  float runRate = 44100.0f;
  VstInt32 windowLength = 0;
  VstInt32 writePos = 0;
  std::unique_ptr<float[]> history;
  double runningSum = 0.0;
  // Samples that history holds.
  VstInt32 historyLength = 0;
};
