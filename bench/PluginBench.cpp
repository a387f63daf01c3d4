// The whole plug-in, loaded as a binary through the host library, on the shipped archive:
// the cost of a block through every shipped description beside a third-party saturation
// module (SoulForce, from Debian's dpf-plugins-vst, when installed) with the same input and
// block size; silent blocks after loud ones; and the time a "Preset" change takes on the
// thread that asks for it (the audio thread waits only for the swap: PresetPickBench), for
// every shipped description and for the largest description the archive reader accepts.
#include <benchmark/benchmark.h>
#include <time.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "HostedModule.h"
#include "TimePerSample.h"
#include "effect/FiniteSignal.h"
#include "effect/ResourceArchive.h"
#include "effect/ZrVelkoran.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"

namespace {

constexpr VstInt32 kPreset = 3;
constexpr int kTestBlocks = 16;
constexpr int kLoudBlocks = 86;     // one second at 44.1 kHz
constexpr int kSilentBlocks = 861;  // ten seconds

const char* const kSoulForcePaths[] = {"/usr/lib/vst/SoulForce-vst.so",
                                       "/usr/lib/x86_64-linux-gnu/vst/SoulForce-vst.so"};

VstIntPtr VSTCALLBACK shippedHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  static const std::string directory = shippedArchiveDirectory();
  if (opcode == audioMasterGetDirectory) return reinterpret_cast<VstIntPtr>(directory.c_str());
  return 0;
}

// The descriptions of the shipped archive, as the plug-in lists them.
std::vector<std::string> shippedDescriptions() { return ZrVelkoran(shippedHost).descriptions(); }

// Seconds per channel-sample of a module over a cycle of test blocks.
void runTestBlocks(benchmark::State& state, HostedModule& module) {
  std::vector<std::vector<float>> blocks;
  for (int k = 0; k < kTestBlocks; ++k) blocks.push_back(testBlock(static_cast<std::size_t>(k)));
  std::size_t next = 0;
  for (auto _ : state) {
    module.process(blocks[next++ % blocks.size()]);
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, static_cast<double>(kBlockLength) * module.channels());
}

std::unique_ptr<HostedModule> playing(benchmark::State& state, int description) {
  auto module = ourModule();
  if (!module->loaded()) {
    state.SkipWithError("the plug-in module could not be loaded");
    return nullptr;
  }
  module->hosted().setParameter(kPreset, static_cast<float>(description));
  return module;
}

void description(benchmark::State& state, int index) {
  if (auto module = playing(state, index)) runTestBlocks(state, *module);
}

void soulForce(benchmark::State& state) {
  for (const char* path : kSoulForcePaths) {
    if (!std::filesystem::exists(path)) continue;
    HostedModule module(path, "");
    if (!module.loaded()) return state.SkipWithError("SoulForce could not be loaded");
    return runTestBlocks(state, module);
  }
  state.SkipWithError("dpf-plugins-vst is not installed: no comparison with SoulForce");
}

// CPU time of this thread: the machines are shared, so wall-clock spans would count others.
double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// One second of full-scale noise, then ten of silence; the tails of the filters must not
// make the silent blocks dearer than the loud ones.
void loudThenSilence(benchmark::State& state, int index) {
  auto module = playing(state, index);
  if (!module) return;
  std::mt19937 generator(7);
  std::uniform_real_distribution<float> fullScale(-1.0f, 1.0f);
  std::vector<std::vector<float>> loud(kLoudBlocks, std::vector<float>(kBlockLength));
  for (std::vector<float>& block : loud) {
    for (float& sample : block) sample = fullScale(generator);
  }
  const std::vector<float> silence(kBlockLength, 0.0f);
  double loudSeconds = 0.0, silentSeconds = 0.0;
  for (auto _ : state) {
    const double start = threadSeconds();
    for (const std::vector<float>& block : loud) module->process(block);
    const double loudEnd = threadSeconds();
    for (int block = 0; block < kSilentBlocks; ++block) module->process(silence);
    const double end = threadSeconds();
    loudSeconds += loudEnd - start;
    silentSeconds += end - loudEnd;
    state.SetIterationTime(end - start);
  }
  const double iterations = static_cast<double>(state.iterations());
  const double loudPerSample = loudSeconds / (iterations * kLoudBlocks * kBlockLength);
  const double silentPerSample = silentSeconds / (iterations * kSilentBlocks * kBlockLength);
  state.counters["loud_per_sample"] = loudPerSample;
  state.counters["silent_per_sample"] = silentPerSample;
  state.counters["silent_to_loud"] = silentPerSample / loudPerSample;
}

void presetSwitch(benchmark::State& state, int index) {
  auto module = playing(state, index);
  if (!module) return;
  for (auto _ : state) module->hosted().setParameter(kPreset, static_cast<float>(index));
}

// The two scans (input and output) that every block pays so that a NaN or infinity never
// outlives its block; beside the per-description costs this is their share of a block.
void finiteScansOfABlock(benchmark::State& state) {
  const std::vector<float> block = testBlock(0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(allFinite(block.data(), kBlockLength));
    benchmark::DoNotOptimize(allFinite(block.data(), kBlockLength));
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
}
BENCHMARK(finiteScansOfABlock)->Unit(benchmark::kNanosecond);

// A chain of inverters filling the largest member the archive reader accepts: every node a
// processor, an evaluation-chain entry and a preset look-up.
std::string largestDescription(std::size_t& nodes) {
  const std::string node = "<fx id=\"n\" type=\"inv\"/>\n";
  const std::string open = "<torvix>\n", close = "</torvix>\n";
  nodes = (kMaxMemberSize - open.size() - close.size()) / node.size();
  std::string text = open;
  text.reserve(kMaxMemberSize);
  for (std::size_t i = 0; i < nodes; ++i) text += node;
  return text + close;
}

void presetSwitchLargest(benchmark::State& state) {
  TemporaryDirectory directory;
  std::size_t nodes = 0;
  if (!writeZipFixture(directory / "a.zip", {{"largest.xml", largestDescription(nodes)}})) {
    return state.SkipWithError("the archive could not be written");
  }
  HostedModule module(TORVIX_MODULE_PATH, directory.path().string() + "/");
  if (!module.loaded()) return state.SkipWithError("the plug-in module could not be loaded");
  for (auto _ : state) module.hosted().setParameter(kPreset, 0.0f);
  state.SetLabel(std::to_string(nodes) + " nodes, " + std::to_string(kMaxMemberSize >> 20) + " MiB");
}

// One benchmark per shipped description, named after it, so that the list follows data/.
const bool registered = [] {
  const std::vector<std::string> names = shippedDescriptions();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int index = static_cast<int>(i);
    benchmark::RegisterBenchmark(("perSample/" + names[i]).c_str(), description, index);
    benchmark::RegisterBenchmark(("loudThenSilence/" + names[i]).c_str(), loudThenSilence, index)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("presetSwitch/" + names[i]).c_str(), presetSwitch, index)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("perSample/thirdParty/SoulForce", soulForce);
  benchmark::RegisterBenchmark("presetSwitch/largest", presetSwitchLargest)
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
