// One octave of up- or down-sampling through a half-band low-pass of two allpass chains
// (HalfBandDesign), run in polyphase form at the lower rate: each chain works on every
// other sample, so no multiplication is spent on the zeros of upsampling or on the
// samples that decimation drops. Minimum phase: no latency beyond the filter's own
// group delay.
//
// The two chains run side by side in one SSE register, two samples of each:
// [chain 0 at n, chain 1 at n, chain 0 at n + 1, chain 1 at n + 1], which is the order
// of the samples at the higher rate, so neither direction interleaves or splits buffers.
// Each first-order section y[n] = a (x[n] - y[n-1]) + x[n-1] is unrolled two steps,
//   y[n] = a^2 y[n-2] + a x[n] + (1 - a^2) x[n-1] - a x[n-2],
// so both samples of a register are computed at once; all sections of a chain run one
// after the other on the register, their state held in registers for the whole block.
// A chain shorter than the other is completed with sections that pass their input on.
// Where the processor has AVX2, a stage of an even number of steps runs them two to a
// register (WideHalfBand), to the same bits.
#pragma once

#include <array>
#include <vector>

#include "frame/VstInterface.h"
#include "processors/PassWavefront.h"

class HalfBandStage {
 public:
  static constexpr int kMaxSections = 8;
  static constexpr int kMaxSteps = kMaxSections / 2;

  enum class Direction { up, down };

  // build: coefficients as designHalfBand gives them (at most kMaxSections), for one
  // direction: upsampling's even outputs come from A0, decimation's even inputs go to A1
  // (so that nothing waits for a later sample and up then down is the allpass A0 A1).
  // registerLanes: 8 lets the stage take AVX2 registers where the processor has them, 4 keeps
  // it to SSE2; both give the same bits.
  HalfBandStage(const std::vector<double>& coefficients, Direction direction,
                int registerLanes = PassWavefront::laneCapacity());

  // audio, a stage built for Direction::up: frames samples of in become 2 * frames samples
  // of out at twice the rate. in and out must not overlap.
  void upsample(const float* in, float* out, VstInt32 frames);
  // audio, a stage built for Direction::down: 2 * frames samples of in become frames
  // samples of out at half the rate.
  void downsample(const float* in, float* out, VstInt32 frames);
  // Any thread with the engine lock: forgets the signal, as after construction.
  void clear();

  // A section's float32 arithmetic on one lane, as the register computes it: the
  // straightforward form the tests compare the stage with.
  struct Taps {
    float current, previous, beforePrevious, feedback;
  };
  static Taps tapsOf(float a);
  static float section(const Taps& taps, float x, float x1, float x2, float y2) {
    return taps.current * x + taps.previous * x1 + taps.beforePrevious * x2 + taps.feedback * y2;
  }

  // Per lane of the register, the taps of one section of each chain: lanes 0 and 2 hold the
  // chain of the even samples at the higher rate, lanes 1 and 3 the other.
  struct Step {
    std::array<float, 4> current, previous, beforePrevious, feedback;
  };
  // The last two inputs and outputs of a step, in the register's order.
  struct History {
    std::array<float, 4> inputs{}, outputs{};
  };

 private:

  // Runs the steps over frames samples at the lower rate, two at a time: samples.load(i,
  // count) gives the register of samples i (and i + 1 when count is 2), samples.store(i,
  // count, result) takes its output (HalfBandSamples). A single last sample runs the same
  // arithmetic in the register's lower half.
  template <int Steps, typename Samples>
  void run(VstInt32 frames, Samples samples);
  template <typename Samples>
  void dispatch(VstInt32 frames, const Samples& samples);
  // Where the stage runs wide, the whole pairs of a block (samples at the lower rate) in
  // AVX2 registers; returns how many samples that was (none where it does not).
  VstInt32 runWide(Direction direction, const float* in, float* out, VstInt32 frames);

  int stepCount = 0;
  bool wide = false;
  std::array<Step, kMaxSteps> steps{};
  std::array<History, kMaxSteps> history{};
};
