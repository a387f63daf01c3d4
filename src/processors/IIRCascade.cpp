#include "processors/IIRCascade.h"

#include <algorithm>
#include <cmath>

#include "processors/WavefrontSeries.h"

namespace {

constexpr float kReferenceRate = 44100.0f;
constexpr float kPi = 3.1415927f;

}  // namespace

IIRCascade::IIRCascade(const float& sampleRate) : sampleRate(sampleRate) {}

float IIRCascade::normalizedFrequency() const {
  const float e1 = static_cast<float>(std::exp(static_cast<double>(5.0f * frequencyParameter)));
  const float e2 = static_cast<float>(std::exp(5.0));
  const float shape = (e1 - 1.0f) / (e2 - 1.0f);
  const float scaled = shape * kReferenceRate;
  return scaled / sampleRate;
}

void IIRCascade::designFilter(float newFrequency) {
  frequencyParameter = newFrequency;
  const float w = normalizedFrequency();
  if (filterOrder == 1) {
    // Not used by the first-order coefficients; it is what "Alpha" reads
    // back and where a later second-order design starts from.
    const float s = static_cast<float>(std::sin(static_cast<double>(w)));
    const float c = static_cast<float>(std::cos(static_cast<double>(w)));
    bandwidth = (1.0 - static_cast<double>(s)) / static_cast<double>(c);
  }
  if (filterOrder == 2) {
    designSecondOrder(w);
  } else {
    designFirstOrder(newFrequency);
  }
  clearHistories();
}

void IIRCascade::clearHistories() { histories.fill(0.0f); }

void IIRCascade::designSecondOrder(float w) {
  const float a = static_cast<float>(bandwidth);
  const float angle = kPi * w;
  const float k = static_cast<float>(std::cos(static_cast<double>(angle)));
  b0 = a;
  b1 = static_cast<float>(-(static_cast<double>(k) * (bandwidth + 1.0)));
  b2 = 1.0f;
  a0 = 1.0f;
  a1 = b1;
  a2 = a;
}

void IIRCascade::designFirstOrder(float x) {
  // Taken from the raw parameter, not from the normalized frequency.
  const float scaled = x * kReferenceRate;
  const float ratio = scaled / sampleRate;
  const float t = 1.0f - ratio;
  b0 = t;
  b1 = -1.0f;
  b2 = 0.0f;
  a0 = 1.0f;
  a1 = -t;
  a2 = 0.0f;
}

void IIRCascade::setPasses(VstInt32 count) { passCount = std::min(count, kMaxPasses); }

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
  const float gain = boostGain();
  return {b0, b1, b2, a1, a2, 1.0f + gain, mixWeight(gain)};
}
