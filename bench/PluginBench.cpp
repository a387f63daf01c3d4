// The whole plug-in on the shipped archive: one 512-sample block through
// each shipped description (with the real-time factor at 44.1 kHz), and the
// time a "Preset" change takes, which the audio thread waits for.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TimePerSample.h"
#include "effect/FiniteSignal.h"
#include "effect/ZrVelkoran.h"

namespace {

constexpr int kBlockLength = 512;
constexpr double kSampleRate = 44100.0;

// The folder of the archive the build packed, as the host reports it.
const std::string& archiveDirectory() {
  static const std::string directory = std::filesystem::path(TORVIX_ARCHIVE_OUTPUT).parent_path().string();
  return directory;
}

VstIntPtr VSTCALLBACK benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterGetDirectory) return reinterpret_cast<VstIntPtr>(archiveDirectory().c_str());
  return 0;
}

// The main effect on the archive the build packed.
std::unique_ptr<ZrVelkoran> shippedPlugin() { return std::make_unique<ZrVelkoran>(benchHost); }

void blockThroughDescription(benchmark::State& state) {
  auto plugin = shippedPlugin();
  const auto description = static_cast<std::size_t>(state.range(0));
  if (description >= plugin->descriptions().size()) {
    state.SkipWithError("no such shipped description");
    return;
  }
  plugin->setParameter(3, static_cast<float>(description));
  state.SetLabel(plugin->descriptions()[description]);
  std::vector<float> input(kBlockLength), output(kBlockLength);
  for (int i = 0; i < kBlockLength; ++i) input[i] = 0.25f * std::sin(0.031f * static_cast<float>(i));
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};
  for (auto _ : state) {
    plugin->processReplacing(inputs, outputs, kBlockLength);
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
  const double samples = static_cast<double>(state.iterations()) * kBlockLength;
  state.counters["realtime_factor"] = benchmark::Counter(samples / kSampleRate, benchmark::Counter::kIsRate);
}
BENCHMARK(blockThroughDescription)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

// The two scans (input and output) that every block pays so that a NaN or
// infinity never outlives its block; beside blockThroughDescription this is
// their share of a block.
void finiteScansOfABlock(benchmark::State& state) {
  std::vector<float> block(kBlockLength);
  for (int i = 0; i < kBlockLength; ++i) block[i] = 0.25f * std::sin(0.031f * static_cast<float>(i));
  for (auto _ : state) {
    benchmark::DoNotOptimize(allFinite(block.data(), kBlockLength));
    benchmark::DoNotOptimize(allFinite(block.data(), kBlockLength));
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
}
BENCHMARK(finiteScansOfABlock)->Unit(benchmark::kNanosecond);

void presetSwitch(benchmark::State& state) {
  auto plugin = shippedPlugin();
  const auto count = static_cast<int>(plugin->descriptions().size());
  int next = 0;
  for (auto _ : state) {
    next = (next + 1) % std::max(count, 1);
    plugin->setParameter(3, static_cast<float>(next));
  }
}
BENCHMARK(presetSwitch)->Unit(benchmark::kMillisecond);

}  // namespace
