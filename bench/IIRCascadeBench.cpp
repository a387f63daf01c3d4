// Cost of the IIR equaliser's cascade per sample, for 1, 4 and 20 passes over
// blocks of 512 samples.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "TimePerSample.h"
#include "processors/IIRCascade.h"

namespace {

constexpr int kBlockLength = 512;

void cascadeBlock(benchmark::State& state) {
  float sampleRate = 44100.0f;
  IIRCascade cascade(sampleRate);
  cascade.setOrder(2);
  cascade.setK(0.8f);
  cascade.setPasses(static_cast<VstInt32>(state.range(0)));
  cascade.designFilter(0.5f);

  std::vector<float> input(kBlockLength), output(kBlockLength);
  for (int i = 0; i < kBlockLength; ++i) input[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};

  for (auto _ : state) {
    cascade.processCascade(inputs, outputs, kBlockLength);
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
}

BENCHMARK(cascadeBlock)->ArgName("passes")->Arg(1)->Arg(4)->Arg(20);

}  // namespace
