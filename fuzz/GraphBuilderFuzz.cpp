// Builds graphs from arbitrary description texts and runs two short blocks through every
// graph that is built: neither the builder nor the run may crash, hang or leak.
#include <tinyxml.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "effect/InternalHost.h"
#include "graph/GraphBuilder.h"
#include "graph/RunPlan.h"

namespace {

constexpr int kBlockLength = 64;

class NoPresets : public PresetLoader {
 public:
  bool loadPreset(AudioEffect&, const std::string&) override { return false; }
};

// A bank with short buffers, as long as the blocks run here.
class ShortBank {
 public:
  ShortBank() : samples(BufferBank::kEntryCount, std::vector<float>(kBlockLength)) {
    for (int entry = 0; entry < BufferBank::kEntryCount; ++entry) {
      channels[entry] = samples[entry].data();
      bank.entries[entry] = &channels[entry];
    }
    for (int i = 0; i < kBlockLength; ++i) samples[0][i] = static_cast<float>(i % 7) / 7.0f - 0.5f;
  }

  BufferBank bank;

 private:
  std::vector<std::vector<float>> samples;
  float* channels[BufferBank::kEntryCount] = {};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TiXmlDocument document;
  document.Parse(text.c_str());
  const TiXmlElement* root = document.FirstChildElement("torvix");
  if (!root) return 0;
  NoPresets presets;
  std::unique_ptr<AudioNode> head = buildGraph(*root, internalHostCallback, presets);
  if (!head) return 0;
  static ShortBank bank;
  const RunPlan plan(*head, bank.bank);
  plan.run(kBlockLength);
  plan.run(kBlockLength / 2);
  return 0;
}
