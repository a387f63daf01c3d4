// Cost per sample of the clipper (hard clipping and the 100-sample averaging limiter), the
// inverter and the delay, each run over one channel in blocks of 512 samples as a graph node
// runs them.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "TimePerSample.h"
#include "processors/ADelay.h"
#include "processors/ZrClipper.h"
#include "processors/ZrInv.h"

namespace {

constexpr int kBlockLength = 512;

// As the engine's host: every pin but 0 is not connected, so each processor runs one channel.
VstIntPtr VSTCALLBACK oneChannel(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  return opcode == audioMasterPinConnected && index != 0 ? 1 : 0;
}

void runBlocks(benchmark::State& state, AudioEffectX& processor) {
  std::vector<float> input(kBlockLength), output(kBlockLength);
  for (int i = 0; i < kBlockLength; ++i) input[i] = 0.9f * std::sin(0.05f * static_cast<float>(i));
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};

  for (auto _ : state) {
    processor.processReplacing(inputs, outputs, kBlockLength);
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
}

void clipperHardClip(benchmark::State& state) {
  ZrClipper clipper(oneChannel);
  runBlocks(state, clipper);
}

void clipperAveraging(benchmark::State& state) {
  ZrClipper clipper(oneChannel);
  clipper.setParameter(4, 10.0f);  // the full 100-sample window at 44100 Hz
  runBlocks(state, clipper);
}

void inverter(benchmark::State& state) {
  ZrInv inv(oneChannel);
  runBlocks(state, inv);
}

void delayLine(benchmark::State& state) {
  ADelay delay(oneChannel);  // 4410 samples after construction
  runBlocks(state, delay);
}

// The limiter's running sum alone, (sum - oldest) + newest sample after sample: the floor of
// the averaging clipper, whose every sample waits for these two additions.
void runningSumLatency(benchmark::State& state) {
  std::vector<float> magnitudes(kBlockLength), sums(kBlockLength);
  for (int i = 0; i < kBlockLength; ++i) magnitudes[i] = std::fabs(std::sin(0.05f * static_cast<float>(i)));
  float sum = 0.0f;
  for (auto _ : state) {
    for (int i = 0; i < kBlockLength; ++i) {
      sum = (sum - magnitudes[(i + 100) % kBlockLength]) + magnitudes[i];
      sums[i] = sum;
    }
    benchmark::DoNotOptimize(sums.data());
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
}

BENCHMARK(runningSumLatency);
BENCHMARK(clipperHardClip);
BENCHMARK(clipperAveraging);
BENCHMARK(inverter);
BENCHMARK(delayLine);

}  // namespace
