#include "processors/IIRCascade.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "processors/AllpassRetuning.h"
#include "processors/ShelfFit.h"
#include "processors/WavefrontSeries.h"

namespace {

constexpr float kReferenceRate = 44100.0f;
constexpr float kPi = 3.1415927f;

}  // namespace

IIRCascade::IIRCascade(const float& sampleRate) : sampleRate(sampleRate) {}

float IIRCascade::normalizedFrequency() const { return normalizedFrequencyAt(sampleRate); }

float IIRCascade::normalizedFrequencyAt(float rate) const {
  const float e1 = static_cast<float>(std::exp(static_cast<double>(5.0f * frequencyParameter)));
  const float e2 = static_cast<float>(std::exp(5.0));
  const float shape = (e1 - 1.0f) / (e2 - 1.0f);
  const float scaled = shape * kReferenceRate;
  return scaled / rate;
}

void IIRCascade::designFilter(float newFrequency) {
  frequencyParameter = newFrequency;
  design();
  clearHistories();
}

void IIRCascade::retime(const TimeScale& scale) {
  const bool moves = scale.referenceRate(sampleRate) != timeScale.referenceRate(sampleRate);
  timeScale = scale;
  if (moves) design();
}

void IIRCascade::design() {
  const float designRate = timeScale.referenceRate(sampleRate);
  if (filterOrder == 1) {
    // Not used by the first-order coefficients; it is what "Alpha" reads
    // back and where a later second-order design starts from.
    const float w = normalizedFrequencyAt(designRate);
    const float s = static_cast<float>(std::sin(static_cast<double>(w)));
    const float c = static_cast<float>(std::cos(static_cast<double>(w)));
    bandwidth = (1.0 - static_cast<double>(s)) / static_cast<double>(c);
  }
  designAt(designRate);
  // A section that has no analog image (a pole on or outside the unit circle)
  // keeps its parameters' own design at the sample rate.
  if (designRate != sampleRate && !carryOver(designRate)) designAt(sampleRate);
}

float IIRCascade::centreCosine(float rate) const {
  const float angle = kPi * normalizedFrequencyAt(rate);
  return static_cast<float>(std::cos(static_cast<double>(angle)));
}

void IIRCascade::designAt(float rate) {
  if (filterOrder == 2) {
    setSecondOrder(bandwidth, centreCosine(rate));
  } else {
    // Taken from the raw parameter, not from the normalized frequency.
    const float scaled = frequencyParameter * kReferenceRate;
    const float ratio = scaled / rate;
    setFirstOrder(1.0f - ratio);
  }
}

// The coefficients designed at fromRate, redesigned for the sample rate with
// the same response.
bool IIRCascade::carryOver(float fromRate) {
  const AllpassRetuning retuning(fromRate, sampleRate);
  if (filterOrder == 2) {
    const std::optional<AllpassRetuning::SecondOrder> tuned =
        retuning.secondOrder(bandwidth, centreCosine(fromRate));
    if (tuned) setSecondOrder(tuned->alpha, static_cast<float>(tuned->k));
    return tuned.has_value();
  }
  const std::optional<double> tuned = retuning.firstOrder(b0);
  if (!tuned) return false;
  const float gain = boostGain();
  const std::optional<ShelfFit::Section> fitted =
      ShelfFit(fromRate, sampleRate).fit({b0, 1.0f + gain, mixWeight(gain)});
  if (fitted) {
    setFitted(*fitted, gain);
  } else {
    setFirstOrder(static_cast<float>(*tuned));
  }
  return true;
}

void IIRCascade::clearHistories() { histories.fill(0.0f); }

void IIRCascade::setSecondOrder(double alpha, float k) {
  fittedGain.reset();
  const float a = static_cast<float>(alpha);
  b0 = a;
  b1 = static_cast<float>(-(static_cast<double>(k) * (alpha + 1.0)));
  b2 = 1.0f;
  a0 = 1.0f;
  a1 = b1;
  a2 = a;
}

void IIRCascade::setFirstOrder(float t) {
  fittedGain.reset();
  b0 = t;
  b1 = -1.0f;
  b2 = 0.0f;
  a0 = 1.0f;
  a1 = -t;
  a2 = 0.0f;
}

void IIRCascade::setFitted(const ShelfFit::Section& fitted, float gain) {
  fittedGain = gain;
  b0 = fitted.b0;
  b1 = fitted.b1;
  b2 = fitted.b2;
  a0 = 1.0f;
  a1 = fitted.a1;
  a2 = fitted.a2;
}

void IIRCascade::setPasses(VstInt32 count) {
  passCount = std::min(count, kMaxPasses);
  // Two passes share the gain, so a fitted shelf that holds another gain is fitted again.
  if (fittedGain && *fittedGain != boostGain()) design();
}

float IIRCascade::boostGain() const {
  // K in 0..1 maps to -30..+30, then to a gain of e^-3..e^3; two passes
  // share the gain so that together they reach the same extreme.
  const float level = static_cast<float>((static_cast<double>(boost) - 0.5) * 30.0 * 2.0);
  const float exponent = level / 10.0f;
  const float gain = static_cast<float>(std::exp(static_cast<double>(exponent)));
  return passCount == 2 ? std::sqrt(gain) : gain;
}

float IIRCascade::mixWeight(float gain) const {
  const bool highShelfMix = filterOrder != 2 && isHighShelf;
  return highShelfMix ? gain - 1.0f : 1.0f - gain;
}

void IIRCascade::processCascade(float** inputs, float** outputs, VstInt32 sampleFrames) {
  const WavefrontSeries::Stage stage = WavefrontSeries::equaliser(*this, outputs[0]);
  WavefrontSeries::run(&stage, 1, inputs[0], sampleFrames, PassWavefront::laneCapacity());
}

PassWavefront::Lane IIRCascade::lane(const PassWavefront::Section& shared, VstInt32 pass) {
  float* history = histories.data() + pass * kHistoryValuesPerPass;
  const bool lastPass = pass == passCount - 1;
  return {shared, history, history + kInputHistory, lastPass, outputGain, HardClip::identity()};
}

PassWavefront::Section IIRCascade::section() const {
  // A fitted section is the whole pass, gain included: 0.5 * (0 * x + 2 * y) is y.
  if (fittedGain) return {b0, b1, b2, a1, a2, 0.0f, 2.0f};
  const float gain = boostGain();
  return {b0, b1, b2, a1, a2, 1.0f + gain, mixWeight(gain)};
}
