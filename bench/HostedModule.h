// Plug-in modules loaded as binaries through the project's own host library, as a host loads
// them, so that our module and third-party modules are measured the same way.
#pragma once

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"

inline constexpr int kBlockLength = 512;
inline constexpr float kSampleRate = 44100.0f;

// One switched-on effect of a module, at 44.1 kHz in blocks of kBlockLength, with every input
// channel fed the same signal.
class HostedModule {
 public:
  // directory: what the host reports as its directory (our module finds its archive there).
  HostedModule(const std::string& path, const std::string& directory) {
    callback.setDirectory(directory);
    std::string error;
    module = PluginModule::load(path, error);
    AEffect* record = module ? module->createEffect(callback) : nullptr;
    if (!record) return;
    effect = std::make_unique<HostedEffect>(record);
    effect->start(kSampleRate, kBlockLength);
    const auto channels = static_cast<std::size_t>(std::max(record->numInputs, record->numOutputs));
    inputs.assign(channels, std::vector<float>(kBlockLength));
    outputs.assign(channels, std::vector<float>(kBlockLength));
    for (std::size_t c = 0; c < channels; ++c) {
      inputPointers.push_back(inputs[c].data());
      outputPointers.push_back(outputs[c].data());
    }
  }

  bool loaded() const { return effect != nullptr; }
  HostedEffect& hosted() { return *effect; }
  // Channels the effect processes per sample frame: the larger of its inputs and outputs.
  int channels() const { return static_cast<int>(inputs.size()); }

  // Processes one block of the given input on every channel.
  void process(const std::vector<float>& block) {
    for (std::vector<float>& input : inputs) std::copy(block.begin(), block.end(), input.begin());
    effect->processReplacing(inputPointers.data(), outputPointers.data(), kBlockLength);
  }

 private:
  HostCallback callback;
  std::unique_ptr<PluginModule> module;
  std::unique_ptr<HostedEffect> effect;
  std::vector<std::vector<float>> inputs, outputs;
  std::vector<float*> inputPointers, outputPointers;
};

// The directory of the archive the build packed, with a separator at the end.
inline std::string shippedArchiveDirectory() {
  return std::filesystem::path(TORVIX_ARCHIVE_OUTPUT).parent_path().string() + "/";
}

// Our module as built, on the shipped archive.
inline std::unique_ptr<HostedModule> ourModule(const std::string& directory = shippedArchiveDirectory()) {
  return std::make_unique<HostedModule>(TORVIX_MODULE_PATH, directory);
}

// A guitar-like test signal at about -12 dBFS: a decaying plucked tone with some noise.
inline std::vector<float> testBlock(std::size_t index) {
  std::vector<float> block(kBlockLength);
  unsigned noise = 1234u + static_cast<unsigned>(index);
  for (int i = 0; i < kBlockLength; ++i) {
    const double t = static_cast<double>(index * kBlockLength + static_cast<std::size_t>(i)) / kSampleRate;
    noise = noise * 1664525u + 1013904223u;
    const double hiss = (static_cast<double>(noise >> 8) / 8388608.0 - 1.0) * 0.01;
    block[static_cast<std::size_t>(i)] =
        static_cast<float>(0.25 * std::sin(2.0 * 3.14159265 * 196.0 * t) * std::exp(-1.5 * std::fmod(t, 2.0)) + hiss);
  }
  return block;
}
