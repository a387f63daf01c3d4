#include "processors/HalfBandStage.h"

#include <algorithm>
#include <stdexcept>

#include "processors/Float4.h"

HalfBandStage::HalfBandStage(const std::vector<double>& coefficients, VstInt32 maxFrames) {
  if (coefficients.size() > kMaxSections) throw std::invalid_argument("too many half-band sections");
  for (std::size_t k = 0; k < coefficients.size(); ++k)
    chains[k % 2].emplace_back(static_cast<float>(coefficients[k]));
  const auto length = static_cast<std::size_t>(std::max<VstInt32>(maxFrames, 1) + Section::kHistory);
  for (std::vector<float>& lane : lanes) lane.assign(length, 0.0f);
  spare.assign(length, 0.0f);
}

HalfBandStage::Section::Section(float a)
    : taps{a, 1.0f - a * a, a * a * a - a, a * a - a * a * a * a, -(a * a * a)}, feedback(a * a * a * a) {}

void HalfBandStage::Section::run(const float* in, float* out, VstInt32 count) {
  std::copy(lastOutputs.begin(), lastOutputs.end(), out - kHistory);
  // Locals, so that the compiler keeps them in registers: out may alias the members.
  const std::array<float, 5> k = taps;
  const float back = feedback;
  const auto fir = [&]<typename Samples>(VstInt32 i) {
    return splat<Samples>(k[0]) * loadSamples<Samples>(in + i) + splat<Samples>(k[1]) * loadSamples<Samples>(in + i - 1) +
           splat<Samples>(k[2]) * loadSamples<Samples>(in + i - 2) +
           splat<Samples>(k[3]) * loadSamples<Samples>(in + i - 3) +
           splat<Samples>(k[4]) * loadSamples<Samples>(in + i - 4);
  };
  // out[i] needs out[i - 4]: the four samples before, kept in a register from one step to
  // the next, or the history.
  VstInt32 i = 0;
  Float4 previous = loadSamples<Float4>(out - kHistory);
  for (; i + 4 <= count; i += 4) {
    previous = splat<Float4>(back) * previous + fir.template operator()<Float4>(i);
    storeSamples(out + i, previous);
  }
  for (; i < count; ++i) out[i] = back * out[i - kHistory] + fir.template operator()<float>(i);
  std::copy(out + count - kHistory, out + count, lastOutputs.begin());
}

// Each section reads the buffer the one before wrote, whose history slots hold that one's
// earlier outputs: this section's earlier inputs.
void HalfBandStage::runChain(int chain, VstInt32 count) {
  float* lane = lanes[chain].data() + Section::kHistory;
  std::array<float, Section::kHistory>& history = inputHistory[chain];
  std::copy(history.begin(), history.end(), lane - Section::kHistory);
  std::copy(lane + count - Section::kHistory, lane + count, history.begin());
  float* source = lane;
  float* destination = spare.data() + Section::kHistory;
  for (Section& section : chains[chain]) {
    section.run(source, destination, count);
    std::swap(source, destination);
  }
  if (source != lane) std::copy(source, source + count, lane);
}

// Zero-stuffing and filtering by 2 H(z): the even outputs are A0 of the input, the odd
// ones A1 of it.
void HalfBandStage::upsample(const float* in, float* out, VstInt32 frames) {
  if (frames <= 0) return;
  for (int chain = 0; chain < 2; ++chain) {
    std::copy(in, in + frames, lanes[chain].data() + Section::kHistory);
    runChain(chain, frames);
  }
  const float* even = lanes[0].data() + Section::kHistory;
  const float* odd = lanes[1].data() + Section::kHistory;
  VstInt32 i = 0;
  for (; i + 4 <= frames; i += 4) {
    const __m128 a = _mm_loadu_ps(even + i);
    const __m128 b = _mm_loadu_ps(odd + i);
    _mm_storeu_ps(out + 2 * i, _mm_unpacklo_ps(a, b));
    _mm_storeu_ps(out + 2 * i + 4, _mm_unpackhi_ps(a, b));
  }
  for (; i < frames; ++i) {
    out[2 * i] = even[i];
    out[2 * i + 1] = odd[i];
  }
}

// H(z) kept at the odd phase: A1 takes the even inputs, A0 the odd ones, so nothing waits
// for a later sample and an upsampling stage followed by this one is the allpass A0 A1.
void HalfBandStage::downsample(const float* in, float* out, VstInt32 frames) {
  if (frames <= 0) return;
  float* odd = lanes[0].data() + Section::kHistory;
  float* even = lanes[1].data() + Section::kHistory;
  VstInt32 i = 0;
  for (; i + 4 <= frames; i += 4) {
    const __m128 a = _mm_loadu_ps(in + 2 * i);
    const __m128 b = _mm_loadu_ps(in + 2 * i + 4);
    _mm_storeu_ps(even + i, _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    _mm_storeu_ps(odd + i, _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
  }
  for (; i < frames; ++i) {
    even[i] = in[2 * i];
    odd[i] = in[2 * i + 1];
  }
  runChain(0, frames);
  runChain(1, frames);
  forEachSample(frames, [&]<typename Samples>(VstInt32 i) {
    storeSamples(out + i,
                 splat<Samples>(0.5f) * (loadSamples<Samples>(even + i) + loadSamples<Samples>(odd + i)));
  });
}

void HalfBandStage::clear() {
  for (std::vector<Section>& chain : chains)
    for (Section& section : chain) section.clear();
  for (std::array<float, Section::kHistory>& history : inputHistory) history.fill(0.0f);
}
