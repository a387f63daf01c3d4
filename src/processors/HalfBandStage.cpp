#include "processors/HalfBandStage.h"

#include <stdexcept>

HalfBandStage::HalfBandStage(const std::vector<double>& coefficients) {
  if (coefficients.size() > kMaxSections) throw std::invalid_argument("too many half-band sections");
  for (std::size_t k = 0; k < coefficients.size(); ++k) {
    Chain& chain = chains[k % 2];
    chain.coefficients[chain.count++] = static_cast<float>(coefficients[k]);
  }
}

inline float HalfBandStage::Chain::process(float x) {
  for (int k = 0; k < count; ++k) {
    const float y = coefficients[k] * (x - state[k + 1]) + state[k];
    state[k] = x;
    x = y;
  }
  state[count] = x;
  return x;
}

// Zero-stuffing and filtering by 2 H(z): the even outputs are A0 of the input, the odd
// ones A1 of it.
void HalfBandStage::upsample(const float* in, float* out, VstInt32 frames) {
  for (VstInt32 i = 0; i < frames; ++i) {
    out[2 * i] = chains[0].process(in[i]);
    out[2 * i + 1] = chains[1].process(in[i]);
  }
}

// H(z) kept at the odd phase: A1 takes the even inputs, A0 the odd ones, so nothing waits
// for a later sample and an upsampling stage followed by this one is the allpass A0 A1.
void HalfBandStage::downsample(const float* in, float* out, VstInt32 frames) {
  for (VstInt32 i = 0; i < frames; ++i) {
    const float even = chains[1].process(in[2 * i]);
    const float odd = chains[0].process(in[2 * i + 1]);
    out[i] = 0.5f * (even + odd);
  }
}

void HalfBandStage::clear() {
  for (Chain& chain : chains) chain.state.fill(0.0f);
}
