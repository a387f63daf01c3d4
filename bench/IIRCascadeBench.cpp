// Cost of the IIR equaliser's cascade per sample for 1 to 20 passes over blocks of 512
// samples, beside the latency floor of one wavefront step: the section's own recursion,
// y = (f - a1 * y1) - a2 * y2, a multiplication and two subtractions that each sample must
// wait for. The passes run as many to a step as a wavefront has lanes (8 with AVX2, else 4),
// so a wavefront's worth of passes should cost about one step per sample; the four-lane form
// is measured beside the widest on processors that have both. Also the time a first-order
// shelf's design takes, raw and carried over from 44.1 kHz to 4x (fitted, see ShelfFit).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "TimePerSample.h"
#include "processors/IIRCascade.h"
#include "processors/PassWavefront.h"
#include "processors/TimeScale.h"
#include "processors/WavefrontSeries.h"

namespace {

constexpr int kBlockLength = 512;

std::vector<float> sineBlock() {
  std::vector<float> input(kBlockLength);
  for (int i = 0; i < kBlockLength; ++i) input[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
  return input;
}

void runCascadeBlock(benchmark::State& state, VstInt32 lanes) {
  float sampleRate = 44100.0f;
  IIRCascade cascade(sampleRate);
  cascade.setOrder(2);
  cascade.setK(0.8f);
  cascade.setPasses(static_cast<VstInt32>(state.range(0)));
  cascade.designFilter(0.5f);

  std::vector<float> input = sineBlock(), output(kBlockLength);

  // The cascade's own processCascade, in the width asked for.
  const WavefrontSeries::Stage stage = WavefrontSeries::equaliser(cascade, output.data());
  for (auto _ : state) {
    WavefrontSeries::run(&stage, 1, input.data(), kBlockLength, lanes);
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
  state.counters["lanes"] = static_cast<double>(lanes);
}

void cascadeBlock(benchmark::State& state) { runCascadeBlock(state, PassWavefront::laneCapacity()); }

// The shipped cab shelf (3 kHz, -6.3 dB a pass, three passes) designed at 176.4 kHz: raw, or
// written for 44.1 kHz and run at 4x, as a graph build or a change of rate designs it.
void shelfDesign(benchmark::State& state) {
  float sampleRate = 176400.0f;
  IIRCascade cascade(sampleRate);
  cascade.setTimeScale(state.range(0) != 0 ? TimeScale(4, 0.0f) : TimeScale());
  cascade.setOrder(1);
  cascade.setHighShelf(true);
  cascade.setK(0.38f);
  cascade.setPasses(3);
  for (auto _ : state) {
    cascade.designFilter(0.357f);
    benchmark::DoNotOptimize(cascade.coefficients());
  }
}
BENCHMARK(shelfDesign)->ArgName("carried")->Arg(0)->Arg(1);
BENCHMARK(cascadeBlock)->ArgName("passes")->DenseRange(1, IIRCascade::kMaxPasses);

void cascadeBlockFourLanes(benchmark::State& state) { runCascadeBlock(state, PassWavefront::kSse2Lanes); }
BENCHMARK(cascadeBlockFourLanes)->ArgName("passes")->Arg(1)->Arg(4)->Arg(8)->Arg(20);

// The recursion alone, sample after sample: the floor of one wavefront step.
void sectionRecursionLatency(benchmark::State& state) {
  const std::vector<float> feedForward = sineBlock();
  std::vector<float> output(kBlockLength);
  const float a1 = -1.7f, a2 = 0.9f;
  float y1 = 0.0f, y2 = 0.0f;
  for (auto _ : state) {
    for (int i = 0; i < kBlockLength; ++i) {
      const float y = (feedForward[i] - a1 * y1) - a2 * y2;
      y2 = y1;
      y1 = y;
      output[i] = y;
    }
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
}
BENCHMARK(sectionRecursionLatency);

}  // namespace
