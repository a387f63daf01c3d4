#include "processors/HalfBandStage.h"

#include <emmintrin.h>

#include <algorithm>
#include <stdexcept>

#include "processors/HalfBandSamples.h"

#if TORVIX_WIDE_WAVEFRONT
#include "processors/WideHalfBand.h"
#endif

namespace {

// The section that completes the shorter chain: y[n] = x[n].
constexpr HalfBandStage::Taps kPassOn{1.0f, 0.0f, 0.0f, 0.0f};

// [a1, a0 | b1, b0] of a and b: each lane pair moved down by one sample.
__m128 pairBefore(__m128 a, __m128 b) { return _mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 0, 3, 2)); }

__m128 loadLanes(const std::array<float, 4>& lanes) { return _mm_loadu_ps(lanes.data()); }

}  // namespace

HalfBandStage::Taps HalfBandStage::tapsOf(float a) { return {a, 1.0f - a * a, -a, a * a}; }

HalfBandStage::HalfBandStage(const std::vector<double>& coefficients, Direction direction, int registerLanes) {
  if (coefficients.empty() || coefficients.size() > kMaxSections)
    throw std::invalid_argument("a half-band stage has 1 to 8 sections");
  stepCount = static_cast<int>((coefficients.size() + 1) / 2);
  wide = std::min(registerLanes, PassWavefront::laneCapacity()) > PassWavefront::kSse2Lanes && stepCount % 2 == 0;
  const std::size_t evenChain = direction == Direction::up ? 0 : 1;
  for (int s = 0; s < stepCount; ++s) {
    for (std::size_t lane = 0; lane < 4; ++lane) {
      const std::size_t k = 2 * static_cast<std::size_t>(s) + (lane % 2 == 0 ? evenChain : 1 - evenChain);
      const Taps taps = k < coefficients.size() ? tapsOf(static_cast<float>(coefficients[k])) : kPassOn;
      steps[s].current[lane] = taps.current;
      steps[s].previous[lane] = taps.previous;
      steps[s].beforePrevious[lane] = taps.beforePrevious;
      steps[s].feedback[lane] = taps.feedback;
    }
  }
}

// Lane by lane the arithmetic of section(): ((current x + previous x1) + beforePrevious x2)
// + feedback y2, the feedback last so that each register waits only for its multiplication
// and addition on the one before.
template <int Steps, typename Samples>
void HalfBandStage::run(VstInt32 frames, Samples samples) {
  __m128 current[Steps], previous[Steps], beforePrevious[Steps], feedback[Steps], inputs[Steps], outputs[Steps];
  for (int s = 0; s < Steps; ++s) {
    current[s] = loadLanes(steps[s].current);
    previous[s] = loadLanes(steps[s].previous);
    beforePrevious[s] = loadLanes(steps[s].beforePrevious);
    feedback[s] = loadLanes(steps[s].feedback);
    inputs[s] = loadLanes(history[s].inputs);
    outputs[s] = loadLanes(history[s].outputs);
  }
  const auto section = [&](int s, __m128 x, __m128 x1) {
    const __m128 fir = _mm_add_ps(_mm_add_ps(_mm_mul_ps(current[s], x), _mm_mul_ps(previous[s], x1)),
                                  _mm_mul_ps(beforePrevious[s], inputs[s]));
    return _mm_add_ps(fir, _mm_mul_ps(feedback[s], outputs[s]));
  };
  VstInt32 i = 0;
  for (; i + 2 <= frames; i += 2) {
    __m128 x = samples.load(i, 2);
#pragma GCC unroll 4
    for (int s = 0; s < Steps; ++s) {
      const __m128 y = section(s, x, pairBefore(inputs[s], x));
      inputs[s] = x;
      outputs[s] = y;
      x = y;
    }
    samples.store(i, 2, x);
  }
  if (i < frames) {
    __m128 x = samples.load(i, 1);
#pragma GCC unroll 4
    for (int s = 0; s < Steps; ++s) {
      const __m128 x1 = pairBefore(inputs[s], x);
      const __m128 y = section(s, x, x1);
      inputs[s] = x1;
      outputs[s] = pairBefore(outputs[s], y);
      x = y;
    }
    samples.store(i, 1, x);
  }
  for (int s = 0; s < Steps; ++s) {
    _mm_storeu_ps(history[s].inputs.data(), inputs[s]);
    _mm_storeu_ps(history[s].outputs.data(), outputs[s]);
  }
}

template <typename Samples>
void HalfBandStage::dispatch(VstInt32 frames, const Samples& samples) {
  switch (stepCount) {
    case 1:
      return run<1>(frames, samples);
    case 2:
      return run<2>(frames, samples);
    case 3:
      return run<3>(frames, samples);
    default:
      return run<4>(frames, samples);
  }
}

VstInt32 HalfBandStage::runWide([[maybe_unused]] Direction direction, [[maybe_unused]] const float* in,
                                 [[maybe_unused]] float* out, VstInt32 frames) {
  const VstInt32 pairs = wide ? frames / 2 : 0;
#if TORVIX_WIDE_WAVEFRONT
  if (pairs > 0) WideHalfBand::run(direction, steps.data(), history.data(), stepCount / 2, in, out, pairs);
#endif
  return 2 * pairs;
}

void HalfBandStage::upsample(const float* in, float* out, VstInt32 frames) {
  const VstInt32 done = runWide(Direction::up, in, out, frames);
  dispatch(frames - done, Upsampling{in + done, out + 2 * done});
}

void HalfBandStage::downsample(const float* in, float* out, VstInt32 frames) {
  const VstInt32 done = runWide(Direction::down, in, out, frames);
  dispatch(frames - done, Downsampling{in + 2 * done, out + done});
}

void HalfBandStage::clear() { history.fill(History{}); }
