// Cost of building a graph description and of running one block through the graph: the
// largest description shipped in data/, or the level-matched distortion while none ships.
#include <benchmark/benchmark.h>
#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TimePerSample.h"
#include "effect/InternalHost.h"
#include "graph/DividerAN.h"
#include "graph/GraphBuilder.h"
#include "graph/RunPlan.h"
#include "support/LevelMatchedDistortion.h"

namespace {

constexpr int kBlockLength = 512;

// Processors keep their constructors' values: preset reading is the archive's cost.
class NoPresets : public PresetLoader {
 public:
  bool loadPreset(AudioEffect&, const std::string&) override { return false; }
};

std::string largestShippedDescription() {
  const std::filesystem::path data = std::filesystem::path(__FILE__).parent_path().parent_path() / "data";
  std::filesystem::path largest;
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(data, error)) {
    if (entry.path().extension() != ".xml") continue;
    if (largest.empty() || entry.file_size() > std::filesystem::file_size(largest)) largest = entry.path();
  }
  if (largest.empty()) return kLevelMatchedDistortion;
  std::ifstream file(largest, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class Description {
 public:
  Description() : text(largestShippedDescription()) { document.Parse(text.c_str()); }

  const TiXmlElement* root() const { return document.FirstChildElement("torvix"); }

 private:
  std::string text;
  TiXmlDocument document;
};

// A full-size bank holding a sine in its input entry.
class Bank {
 public:
  Bank() : samples(BufferBank::kEntryCount, std::vector<float>(BufferBank::kBufferLength)) {
    for (int entry = 0; entry < BufferBank::kEntryCount; ++entry) {
      channels[entry] = samples[entry].data();
      bank.entries[entry] = &channels[entry];
    }
    for (int i = 0; i < BufferBank::kBufferLength; ++i)
      samples[0][i] = 0.8f * std::sin(0.01f * static_cast<float>(i));
  }

  BufferBank bank;

 private:
  std::vector<std::vector<float>> samples;
  float* channels[BufferBank::kEntryCount] = {};
};

void BM_BuildDescription(benchmark::State& state) {
  const Description description;
  if (!description.root()) return state.SkipWithError("no <torvix> root");
  NoPresets presets;
  for (auto _ : state) {
    std::unique_ptr<AudioNode> head = buildGraph(*description.root(), internalHostCallback, presets);
    benchmark::DoNotOptimize(head.get());
  }
}
BENCHMARK(BM_BuildDescription);

void BM_RunBlockThroughGraph(benchmark::State& state) {
  const Description description;
  NoPresets presets;
  std::unique_ptr<AudioNode> head =
      description.root() ? buildGraph(*description.root(), internalHostCallback, presets) : nullptr;
  if (!head) return state.SkipWithError("the description was not built");
  Bank bank;
  const RunPlan plan(*head, bank.bank);
  for (auto _ : state) {
    plan.run(kBlockLength);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBlockLength);
}
BENCHMARK(BM_RunBlockThroughGraph);

// n dividers, each reading the one before twice, so a read of the last makes 2^n - 1
// getValue calls; a mixer reads it.
std::string doublingDividers(int n) {
  std::string text = "<torvix><processor id=\"d1\" type=\"divider\" input=\"in\"/>";
  for (int i = 2; i <= n; ++i) {
    const std::string previous = "d" + std::to_string(i - 1);
    text += "<processor id=\"d" + std::to_string(i) + "\" type=\"divider\"><param set=\"0\" node=\"" +
            previous + "\" get=\"2\"/><param set=\"1\" node=\"" + previous + "\" get=\"2\"/></processor>";
  }
  return text + "<mixer input=\"in\" input2=\"in\"><param set=\"0\" node=\"d" + std::to_string(n) +
         "\" get=\"2\"/></mixer></torvix>";
}

// The cost of one getValue call through chained dividers, which bounds the control reads
// a graph may make per block. Items are calls.
void BM_ChainedDividerReads(benchmark::State& state) {
  const int dividers = static_cast<int>(state.range(0));
  TiXmlDocument document;
  document.Parse(doublingDividers(dividers).c_str());
  NoPresets presets;
  std::unique_ptr<AudioNode> head = buildGraph(*document.RootElement(), internalHostCallback, presets);
  if (!head) return state.SkipWithError("the description was not built");
  AudioNode* last = nullptr;
  for (AudioNode* node = head.get(); node; node = node->next.get())
    if (dynamic_cast<DividerAN*>(node)) last = node;
  for (auto _ : state) benchmark::DoNotOptimize(last->getValue(DividerAN::kRatio));
  state.SetItemsProcessed(state.iterations() * ((std::int64_t{1} << dividers) - 1));
}
BENCHMARK(BM_ChainedDividerReads)->Arg(11)->Arg(13);

// A synthetic description of the given number of nodes, cycling through an equaliser, a
// clipper, an inverter, a mixer of the chain with the graph input, and a delay, each taking
// the node before as its input. Processors keep their defaults (a 4-pass bell, hard clipping,
// a 4410-sample delay).
std::string syntheticDescription(int nodes) {
  static const char* const kNodes[] = {R"(<fx id="n%d" type="eq"/>)", R"(<fx id="n%d" type="clip"/>)",
                                       R"(<fx id="n%d" type="inv"/>)", R"(<mixer id="n%d" input2="in"/>)",
                                       R"(<fx id="n%d" type="delay"/>)"};
  std::string text = "<torvix>";
  char element[64];
  for (int i = 0; i < nodes; ++i) {
    std::snprintf(element, sizeof element, kNodes[i % 5], i);
    text += element;
  }
  return text + "</torvix>";
}

void runSyntheticGraph(benchmark::State& state) {
  const std::string text = syntheticDescription(static_cast<int>(state.range(0)));
  TiXmlDocument document;
  document.Parse(text.c_str());
  NoPresets presets;
  const TiXmlElement* root = document.FirstChildElement("torvix");
  std::unique_ptr<AudioNode> head = root ? buildGraph(*root, internalHostCallback, presets) : nullptr;
  if (!head) return state.SkipWithError("the synthetic description was not built");
  Bank bank;
  const RunPlan plan(*head, bank.bank);
  for (auto _ : state) {
    plan.run(kBlockLength);
    benchmark::ClobberMemory();
  }
  reportTimePerSample(state, kBlockLength);
}
BENCHMARK(runSyntheticGraph)->ArgName("nodes")->DenseRange(2, 40, 2);

}  // namespace
