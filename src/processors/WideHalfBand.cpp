// Compiled with AVX2 enabled. Everything of its own, and the stage's sample access
// (HalfBandSamples), lives in an anonymous namespace, and of what other files share it takes
// only std::array's and std::min's accessors, which compile to no vector instruction: no AVX2
// copy of a shared function can stand in for theirs on a processor without AVX2.
#include "processors/WideHalfBand.h"

#include <immintrin.h>

#include <algorithm>

#include "processors/HalfBandSamples.h"

namespace {

using Step = HalfBandStage::Step;
using History = HalfBandStage::History;

__m256 halves(const std::array<float, 4>& low, const std::array<float, 4>& high) {
  return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(low.data())), _mm_loadu_ps(high.data()), 1);
}

// A step's history into one half of the registers, or out of it.
template <int half>
void restore(__m256& inputs, __m256& outputs, const History& history) {
  inputs = _mm256_insertf128_ps(inputs, _mm_loadu_ps(history.inputs.data()), half);
  outputs = _mm256_insertf128_ps(outputs, _mm_loadu_ps(history.outputs.data()), half);
}

template <int half>
void keep(__m256 inputs, __m256 outputs, History& history) {
  _mm_storeu_ps(history.inputs.data(), _mm256_extractf128_ps(inputs, half));
  _mm_storeu_ps(history.outputs.data(), _mm256_extractf128_ps(outputs, half));
}

// How many iterations the high half of a register lags its low half: long enough that the
// move from one half to the other stays off the per-iteration critical path, which is then
// each step's own recursion, as in the SSE2 form.
constexpr VstInt32 kSkew = 4;

// Iteration t: the low half of register k works on pair t - k * kSkew, its high half on pair
// t - (k + 1) * kSkew. Edge iterations (the first Registers skews and the last) also restore
// and keep histories, and load or store only pairs inside the block. The registers are the
// function's own, so that the compiler keeps them in registers across the stores.
template <int Registers, typename Samples>
void runPairs(const Step* steps, History* history, const Samples& samples, VstInt32 pairs) {
  constexpr VstInt32 kLag = Registers * kSkew;
  __m256 current[Registers], previous[Registers], beforePrevious[Registers], feedback[Registers];
  __m256 inputs[Registers], outputs[Registers];
  // What each register's low half gave in the last kSkew iterations, for its high half.
  alignas(16) float lowResults[Registers][kSkew][4] = {};
  for (int k = 0; k < Registers; ++k) {
    const Step& low = steps[2 * k];
    const Step& high = steps[2 * k + 1];
    current[k] = halves(low.current, high.current);
    previous[k] = halves(low.previous, high.previous);
    beforePrevious[k] = halves(low.beforePrevious, high.beforePrevious);
    feedback[k] = halves(low.feedback, high.feedback);
    inputs[k] = halves(history[2 * k].inputs, history[2 * k + 1].inputs);
    outputs[k] = halves(history[2 * k].outputs, history[2 * k + 1].outputs);
  }
  const auto iterate = [&]<bool edge>(VstInt32 t) __attribute__((always_inline)) {
    const VstInt32 slot = t % kSkew;
    __m256 carried = _mm256_castps128_ps256(!edge || t < pairs ? samples.load(2 * t, 2) : _mm_setzero_ps());
#pragma GCC unroll 2
    for (int k = 0; k < Registers; ++k) {
      if constexpr (edge) {
        if (t == k * kSkew) restore<0>(inputs[k], outputs[k], history[2 * k]);
        if (t == (k + 1) * kSkew) restore<1>(inputs[k], outputs[k], history[2 * k + 1]);
      }
      // The low half takes what the register before gave (the sample pair for the first),
      // the high half what this register's low half gave kSkew iterations ago.
      const __m256 lagged = _mm256_castps128_ps256(_mm_load_ps(lowResults[k][slot]));
      const __m256 x = k == 0 ? _mm256_permute2f128_ps(carried, lagged, 0x20)
                              : _mm256_permute2f128_ps(carried, lagged, 0x21);
      const __m256 x1 = _mm256_shuffle_ps(inputs[k], x, _MM_SHUFFLE(1, 0, 3, 2));
      const __m256 fir = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(current[k], x), _mm256_mul_ps(previous[k], x1)),
                                       _mm256_mul_ps(beforePrevious[k], inputs[k]));
      const __m256 y = _mm256_add_ps(fir, _mm256_mul_ps(feedback[k], outputs[k]));
      inputs[k] = x;
      outputs[k] = y;
      carried = y;
      _mm_store_ps(lowResults[k][slot], _mm256_castps256_ps128(y));
      if constexpr (edge) {
        if (t == pairs - 1 + k * kSkew) keep<0>(inputs[k], outputs[k], history[2 * k]);
        if (t == pairs - 1 + (k + 1) * kSkew) keep<1>(inputs[k], outputs[k], history[2 * k + 1]);
      }
    }
    if (!edge || t >= kLag) samples.store(2 * (t - kLag), 2, _mm256_extractf128_ps(carried, 1));
  };
  const VstInt32 iterations = pairs + kLag;
  VstInt32 t = 0;
  for (const VstInt32 filled = std::min(kLag + 1, iterations); t < filled; ++t) iterate.template operator()<true>(t);
  for (; t < pairs - 1; ++t) iterate.template operator()<false>(t);
  for (; t < iterations; ++t) iterate.template operator()<true>(t);
}

template <typename Samples>
void runRegisters(int registers, const Step* steps, History* history, const Samples& samples, VstInt32 pairs) {
  if (registers == 1) return runPairs<1>(steps, history, samples, pairs);
  runPairs<2>(steps, history, samples, pairs);
}

}  // namespace

void WideHalfBand::run(HalfBandStage::Direction direction, const Step* steps, History* history, int registers,
                       const float* in, float* out, VstInt32 pairs) {
  if (direction == HalfBandStage::Direction::up) return runRegisters(registers, steps, history, Upsampling{in, out}, pairs);
  runRegisters(registers, steps, history, Downsampling{in, out}, pairs);
}
