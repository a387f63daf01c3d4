// A preset loader for tests: presets come from a table, and every request is recorded.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "graph/PresetLoader.h"

class TablePresetLoader : public PresetLoader {
 public:
  // Stores a preset: value i goes to parameter i.
  void add(const std::string& memberName, std::vector<float> values) {
    presets[memberName] = std::move(values);
  }

  bool loadPreset(AudioEffect& processor, const std::string& memberName) override {
    requested.push_back(memberName);
    const auto preset = presets.find(memberName);
    if (preset == presets.end()) return false;
    for (std::size_t i = 0; i < preset->second.size(); ++i) {
      processor.setParameter(static_cast<VstInt32>(i), preset->second[i]);
    }
    return true;
  }

  std::vector<std::string> requested;

 private:
  std::map<std::string, std::vector<float>> presets;
};
