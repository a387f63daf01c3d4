// Renders that the LV2 tests compare.
#pragma once

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "Lv2Instance.h"
#include "support/SameSamples.h"
#include "support/ZipFixture.h"

// A plucked-string-like tone over noise: every sound reacts to it.
inline std::vector<float> lv2TestSignal(std::size_t length) {
  std::vector<float> signal = randomSignal(length, 7u, 0.05f);
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) / 44100.0f;
    signal[i] += 0.6f * std::exp(-3.0f * t) * std::sin(2.0f * 3.14159265f * 110.0f * t);
  }
  return signal;
}

// A fresh instance activated with the sound and the parameters, rendering
// the input in blocks of blockSize.
inline std::vector<float> renderSound(Lv2TestHost& host, float sound, const std::vector<float>& input,
                                      int blockSize, const Lv2Setup& setup = {}, float preGain = 0.5f,
                                      float postGain = 0.5f, float preBass = 0.5f) {
  Lv2Instance instance(host, setup);
  EXPECT_TRUE(instance.valid());
  if (!instance.valid()) return {};
  instance.set(kPresetPort, sound);
  instance.set(kPreGainPort, preGain);
  instance.set(kPostGainPort, postGain);
  instance.set(kPreBassPort, preBass);
  instance.activate();
  return instance.render(input, {blockSize});
}

// The names of the archive's graph descriptions in the order "Preset" picks them.
std::vector<std::string> descriptionsOf(const std::vector<ZipFixtureMember>& members);
