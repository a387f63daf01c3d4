// The worker of the IIR equaliser: one allpass section with a mixing rule,
// run in several identical passes over one channel.
#pragma once

#include <array>
#include <optional>

#include "frame/VstInterface.h"
#include "processors/PassWavefront.h"
#include "processors/ShelfFit.h"
#include "processors/TimeScale.h"

// The section is a first-order allpass (order 1 and every order other than 2)
// or a second-order allpass (order 2). Each pass mixes its input x with the
// allpass output y as 0.5 * ((1 + G) * x + c * y), which turns the allpass
// into a low or high shelf (first order) or a peaking filter (second order)
// of gain G, where G follows from K. Arithmetic is float32 at every step, as
// the filter has always sounded; alpha alone is kept in double.
//
// Carried over to another rate (setTimeScale), a shelf whose corner is high
// enough for the design rate's warping to show becomes one second-order
// section fitted to its response at that rate (ShelfFit); that section holds
// the gain G of K and of the pass count at the design, and setPasses() fits
// it again when the count changes G.
//
// The engine drives its two input filters through this class: it writes K
// and the post gain with setK() and setPostGain() and then calls
// designFilter(frequency()). Setters do not redesign on their own, but for
// setPasses() on a fitted shelf (above), and a fitted shelf takes K and the
// shelf type only at its design.
//
// No locks: setters and designFilter rewrite coefficients and histories in
// place, so the owner serialises them against processCascade().
class IIRCascade {
 public:
  static constexpr VstInt32 kMaxPasses = 20;

  struct Coefficients {
    float b0, b1, b2, a0, a1, a2;
  };

  // sampleRate is the owning effect's sample rate; it must outlive the
  // cascade and is read, never written.
  explicit IIRCascade(const float& sampleRate);

  // The fraction of the Nyquist frequency for the stored frequency parameter:
  // an exponential shape from 0 Hz at 0 to 22050 Hz at 1, at any sample rate.
  float normalizedFrequency() const;
  // Stores the frequency parameter, recomputes the coefficients (and, for
  // order 1, alpha) and clears every history, so the filter restarts from
  // silence. The design is the response the parameters give at the time
  // scale's reference rate, carried over to the sample rate (AllpassRetuning);
  // raw, it is the parameters' own design at the sample rate.
  void designFilter(float newFrequency);
  // Not real-time: the rate the parameters are designed for; raw by default.
  // Takes effect at the next design.
  void setTimeScale(const TimeScale& scale) { timeScale = scale; }
  // Real-time: designs for scale from now on. Where that moves the rate the
  // design is made for, the coefficients are designed again in place for the
  // current parameters, keeping the histories so the signal runs on; where it
  // does not, they stay as they are, bit for bit.
  void retime(const TimeScale& scale);
  // Real-time: clears every history, keeping the design.
  void clearHistories();
  // Real-time: runs all passes over channel 0 of a block, replacing the
  // output samples. Channels after the first are never read or written, so
  // one-channel buffers are fine. With no passes the output is not written.
  void processCascade(float** inputs, float** outputs, VstInt32 sampleFrames);

  // Real-time: the section all passes share, and the wavefront lane of one pass.
  PassWavefront::Section section() const;
  PassWavefront::Lane lane(const PassWavefront::Section& shared, VstInt32 pass);

  float k() const { return boost; }
  void setK(float value) { boost = value; }
  float postGain() const { return outputGain; }
  void setPostGain(float value) { outputGain = value; }
  double alpha() const { return bandwidth; }
  void setAlpha(double value) { bandwidth = value; }
  float frequency() const { return frequencyParameter; }
  VstInt32 passes() const { return passCount; }
  // Limited to kMaxPasses, the number of passes the histories hold; a count
  // of 0 or less processes nothing. Redesigns a fitted shelf whose gain the
  // count changes, keeping the histories; allocates nothing.
  void setPasses(VstInt32 count);
  VstInt32 order() const { return filterOrder; }
  void setOrder(VstInt32 value) { filterOrder = value; }
  bool highShelf() const { return isHighShelf; }
  void setHighShelf(bool state) { isHighShelf = state; }
  VstInt32 channelCount() const { return channels; }
  void setChannelCount(VstInt32 count) { channels = count; }
  Coefficients coefficients() const { return {b0, b1, b2, a0, a1, a2}; }

 private:
  // Per pass: output history of channel 0 and 1, then input history of
  // channel 0 and 1, each (current, one sample ago, two samples ago).
  static constexpr int kHistoryValuesPerPass = 12;
  static constexpr int kInputHistory = 6;

  float boostGain() const;
  float mixWeight(float gain) const;
  float normalizedFrequencyAt(float rate) const;
  float centreCosine(float rate) const;
  void design();
  void designAt(float rate);
  bool carryOver(float fromRate);
  void setSecondOrder(double alpha, float k);
  void setFirstOrder(float t);
  void setFitted(const ShelfFit::Section& fitted, float gain);

  VstInt32 channels = 2;
  float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f;
  float a0 = 0.0f, a1 = 0.0f, a2 = 0.0f;
  const float& sampleRate;
  float boost = 0.5f;
  float outputGain = 1.0f;
  double bandwidth = 0.95;
  float frequencyParameter = 0.5f;
  VstInt32 passCount = 4;
  std::array<float, kMaxPasses * kHistoryValuesPerPass> histories{};
  VstInt32 filterOrder = 2;
  bool isHighShelf = false;
  TimeScale timeScale;
  // The gain G a fitted section holds; none for the allpass section and its mix.
  std::optional<float> fittedGain;
};
