// The VST module's output, as our host plays it, to hold the LV2 plug-in's
// against.
#pragma once

#include <string>
#include <vector>

// The module at PLUGIN_MODULE_PATH with the shipped archive, set up as
// torvix-render sets it up: "Preset" and the other parameters first, then
// sample rate, block size and switched on; the input then played in blocks
// of blockSizes, in turn (the first announced as the block size).
struct VstSettings {
  float preGain = 0.5f;
  float postGain = 0.5f;
  float preBass = 0.5f;
  int preset = 0;
};

std::vector<float> renderThroughVst(const VstSettings& settings, const std::vector<float>& input,
                                    const std::vector<int>& blockSizes, float sampleRate = 44100.0f);
