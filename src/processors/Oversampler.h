// Up- and down-sampling by 2, 4, 8 or 16 through cascaded half-band stages, each octave
// designed for what it must do at its own rate: pass band flat to 20.07 kHz at a 44.1 kHz
// host rate (proportionally at others), images of that band and what would fold into it
// attenuated by at least 100 dB. The first upsampling and the last downsampling stage,
// at the host's rate, are the steep ones; the others are short.
#pragma once

#include <array>
#include <vector>

#include "frame/VstInterface.h"
#include "processors/HalfBandStage.h"

class Oversampler {
 public:
  static constexpr int kMaxFactor = 16;
  // The pass band's edge as a fraction of the host's rate.
  static constexpr double kPassBand = 0.455;
  // What every stage attenuates its stop band by, with a margin for float rounding.
  static constexpr double kAttenuationDb = 102.0;

  // build: factor is 2, 4, 8 or 16; blocks of at most maxFrames host samples. Allocates.
  Oversampler(int factor, VstInt32 maxFrames);

  int factor() const { return rateFactor; }
  VstInt32 maxFrames() const { return frameLimit; }

  // audio: frames host samples of in become frames * factor() samples of out. in and out
  // must not overlap; frames at most maxFrames().
  void upsample(const float* in, float* out, VstInt32 frames);
  // audio: frames * factor() samples of in become frames host samples of out.
  void downsample(const float* in, float* out, VstInt32 frames);
  // With the engine lock: forgets the signal of both directions.
  void clear();
  // The coefficients of the stage that doubles rate octave times (0: from the host's rate).
  static const std::vector<double>& stageDesign(int octave);

 private:
  float* scratchFor(int step) { return scratch[step % 2].data(); }

  int rateFactor;
  VstInt32 frameLimit;
  // up[k] doubles the rate 2^k times the host's; down[k] halves it to that rate.
  std::vector<HalfBandStage> up;
  std::vector<HalfBandStage> down;
  std::array<std::vector<float>, 2> scratch;
};
