// What oversampling costs: the samplers alone (up and down, per host sample), and the two
// high-gain sounds through the whole plug-in at every factor, their descriptions packed
// from data/ with the factor changed, so that the samplers' share of a graph's cost shows.
#include <benchmark/benchmark.h>

#include <regex>
#include <string>
#include <vector>

#include "HostedModule.h"
#include "TimePerSample.h"
#include "pack/ArchiveSources.h"
#include "pack/ArchiveWriter.h"
#include "processors/Oversampler.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr VstInt32 kPreset = 3;
constexpr int kFactors[] = {1, 2, 4, 8, 16};
const char* const kSounds[] = {"fuzz", "lead"};

void samplers(benchmark::State& state, int factor) {
  Oversampler sampler(factor, kBlockLength);
  const std::vector<float> input = testBlock(0);
  std::vector<float> raised(static_cast<std::size_t>(kBlockLength) * factor), output(kBlockLength);
  for (auto _ : state) {
    sampler.upsample(input.data(), raised.data(), kBlockLength);
    sampler.downsample(raised.data(), output.data(), kBlockLength);
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
}

// data/ packed with the one description at the factor; the sound is the only one listed.
void packAtFactor(const std::filesystem::path& archive, const std::string& sound, int factor) {
  std::vector<ArchiveEntry> entries;
  for (ArchiveEntry& entry : collectArchiveSources(TORVIX_DATA_DIR)) {
    if (entry.name.ends_with(".xml") && entry.name != sound + ".xml") continue;
    if (entry.name.ends_with(".xml")) {
      const std::string text(entry.bytes.begin(), entry.bytes.end());
      const std::string changed = std::regex_replace(text, std::regex("oversampling=\"[0-9]+\""),
                                                     "oversampling=\"" + std::to_string(factor) + "\"");
      entry.bytes.assign(changed.begin(), changed.end());
    }
    entries.push_back(std::move(entry));
  }
  writeArchive(archive, entries);
}

void soundAtFactor(benchmark::State& state, const std::string& sound, int factor) {
  TemporaryDirectory directory;
  packAtFactor(directory / "a.zip", sound, factor);
  HostedModule module(TORVIX_MODULE_PATH, directory.path().string() + "/");
  if (!module.loaded()) return state.SkipWithError("the plug-in module could not be loaded");
  module.hosted().setParameter(kPreset, 0.0f);
  std::vector<std::vector<float>> blocks;
  for (std::size_t k = 0; k < 16; ++k) blocks.push_back(testBlock(k));
  std::size_t next = 0;
  for (auto _ : state) {
    module.process(blocks[next++ % blocks.size()]);
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, static_cast<double>(kBlockLength) * module.channels());
}

const bool registered = [] {
  for (const int factor : kFactors) {
    if (factor > 1)
      benchmark::RegisterBenchmark(("samplers/" + std::to_string(factor)).c_str(), samplers, factor);
    for (const char* sound : kSounds) {
      benchmark::RegisterBenchmark(("perFactor/" + std::string(sound) + "/" + std::to_string(factor)).c_str(),
                                   soundAtFactor, std::string(sound), factor);
    }
  }
  return true;
}();

}  // namespace
