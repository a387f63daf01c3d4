// The shipped sounds played through the built module as a host plays them:
// a guitar part at -12 dBFS must come out finite, audible and below full
// scale in every sound at the default settings, and stay
// finite and bounded with every control at its extremes. At the default
// settings the sounds are matched in loudness on the demo's riff and on a
// hot take with an offset, leave no offset, and keep headroom on a -1 dBFS
// input at 44.1 and 96 kHz.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "PluckedGuitar.h"
#include "render/GuitarRiff.h"
#include "ShippedArchive.h"
#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/RenderInBlocks.h"

namespace {

constexpr VstInt32 kPreGain = 0;
constexpr VstInt32 kPostGain = 1;
constexpr VstInt32 kPreBass = 2;
constexpr VstInt32 kPreset = 3;

struct Levels {
  bool finite = true;
  double peak = 0.0;
  double rms = 0.0;
};

Levels levelsOf(const std::vector<float>& samples) {
  Levels levels;
  double energy = 0.0;
  for (const float sample : samples) {
    levels.finite = levels.finite && std::isfinite(sample);
    levels.peak = std::max(levels.peak, static_cast<double>(std::fabs(sample)));
    energy += static_cast<double>(sample) * sample;
  }
  levels.rms = std::sqrt(energy / static_cast<double>(samples.size()));
  return levels;
}

double decibels(double level) { return 20.0 * std::log10(level); }

double offsetOf(const std::vector<float>& samples) {
  double sum = 0.0;
  for (const float sample : samples) sum += sample;
  return sum / static_cast<double>(samples.size());
}

std::vector<float> scaledToPeak(std::vector<float> samples, float peak) {
  float loudest = 0.0f;
  for (const float sample : samples) loudest = std::max(loudest, std::fabs(sample));
  for (float& sample : samples) sample *= peak / loudest;
  return samples;
}

// What a render adds after the input: room for the sounds' echo and for
// their offset removal to settle.
std::vector<float> followedBySilence(std::vector<float> samples, float sampleRate) {
  samples.resize(samples.size() + static_cast<std::size_t>(0.25f * sampleRate), 0.0f);
  return samples;
}

// A take recorded hot (peaking at -1.7 dBFS) through an interface that adds
// an offset of 0.014 (-37 dBFS), as real recordings do.
std::vector<float> hotTakeWithOffset() {
  std::vector<float> take = pluckedGuitar(0.82f - 0.014f);
  for (float& sample : take) sample += 0.014f;
  return take;
}

struct TestSignal {
  std::string name;
  float sampleRate;
  std::vector<float> samples;
};

const float kMinusOneDbfs = std::pow(10.0f, -1.0f / 20.0f);

class ShippedSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    callback.setDirectory(ShippedArchive::directory());
    std::string error;
    module = PluginModule::load(PLUGIN_MODULE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
    descriptions = ShippedArchive().descriptionNames();
    ASSERT_FALSE(descriptions.empty());
  }

  // A fresh, switched-on instance playing description index, told that
  // blocks hold at most blockSize samples.
  std::unique_ptr<HostedEffect> playing(std::size_t index, VstInt32 blockSize = 512, float sampleRate = 44100.0f) {
    AEffect* record = module->createEffect(callback);
    EXPECT_NE(record, nullptr);
    if (!record) return nullptr;
    auto effect = std::make_unique<HostedEffect>(record);
    effect->start(sampleRate, blockSize);
    effect->setParameter(kPreset, static_cast<float>(index));
    EXPECT_EQ(effect->parameterDisplay(kPreset), descriptions[index]);
    return effect;
  }

  // The output of every sound at the default settings.
  std::vector<std::vector<float>> everySound(const TestSignal& signal) {
    std::vector<std::vector<float>> outputs;
    for (std::size_t index = 0; index < descriptions.size(); ++index) {
      auto effect = playing(index, 512, signal.sampleRate);
      if (!effect) return {};
      outputs.push_back(renderInBlocks(*effect, followedBySilence(signal.samples, signal.sampleRate), {512}));
    }
    return outputs;
  }

  HostCallback callback;
  std::unique_ptr<PluginModule> module;
  std::vector<std::string> descriptions;
  const std::vector<float> guitar = pluckedGuitar(0.25f);
};

// Matched at playing levels (below), the sounds spread out on a quiet
// guitar: the clean glass and the level-following lead follow it down,
// the distorted ones do not.
TEST_F(ShippedSoundTest, AtTheDefaultSettingsAQuietGuitarComesOutAudibleAndBelowFullScale) {
  for (std::size_t index = 0; index < descriptions.size(); ++index) {
    SCOPED_TRACE(descriptions[index]);
    auto effect = playing(index);
    ASSERT_NE(effect, nullptr);
    const Levels levels = levelsOf(renderInBlocks(*effect, guitar, {512}));
    ASSERT_TRUE(levels.finite);
    EXPECT_LT(levels.peak, 1.0);
    // Audible: no sound may be a near-silent slip.
    EXPECT_GT(decibels(levels.rms), -30.0);
  }
}

TEST_F(ShippedSoundTest, AtTheDefaultSettingsTheSoundsAreMatchedInLoudnessAndLeaveNoOffset) {
  const TestSignal signals[] = {{"the demo riff", 44100.0f, synthesiseGuitarRiff(44100.0f)},
                                {"a hot take with an offset", 44100.0f, hotTakeWithOffset()}};
  for (const TestSignal& signal : signals) {
    SCOPED_TRACE(signal.name);
    const std::vector<std::vector<float>> outputs = everySound(signal);
    ASSERT_EQ(outputs.size(), descriptions.size());
    std::vector<double> loudness;
    for (std::size_t index = 0; index < outputs.size(); ++index) {
      SCOPED_TRACE(descriptions[index]);
      const Levels levels = levelsOf(outputs[index]);
      ASSERT_TRUE(levels.finite);
      loudness.push_back(decibels(levels.rms));
      // An offset eats headroom and thumps when notes start and stop.
      EXPECT_LT(decibels(std::fabs(offsetOf(outputs[index]))), -60.0);
    }
    // Switching sounds keeps the loudness within 1.5 dB either way of the
    // middle of the loudest and the quietest.
    const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
    const double middle = (*quietest + *loudest) / 2.0;
    for (std::size_t index = 0; index < loudness.size(); ++index) {
      EXPECT_NEAR(loudness[index], middle, 1.5) << descriptions[index];
    }
  }
}

TEST_F(ShippedSoundTest, AtTheDefaultSettingsAMinusOneDbfsInputPeaksBelowMinusHalfADbfsAtAnyRate) {
  const TestSignal signals[] = {
      {"the demo riff", 44100.0f, scaledToPeak(synthesiseGuitarRiff(44100.0f), kMinusOneDbfs)},
      {"the demo riff at 96 kHz", 96000.0f, scaledToPeak(synthesiseGuitarRiff(96000.0f), kMinusOneDbfs)},
      {"a hot take with an offset", 44100.0f, scaledToPeak(hotTakeWithOffset(), kMinusOneDbfs)}};
  for (const TestSignal& signal : signals) {
    SCOPED_TRACE(signal.name);
    const std::vector<std::vector<float>> outputs = everySound(signal);
    ASSERT_EQ(outputs.size(), descriptions.size());
    for (std::size_t index = 0; index < outputs.size(); ++index) {
      const Levels levels = levelsOf(outputs[index]);
      ASSERT_TRUE(levels.finite) << descriptions[index];
      EXPECT_LT(decibels(levels.peak), -0.5) << descriptions[index];
    }
  }
}

TEST_F(ShippedSoundTest, WithTheControlsAtTheirExtremesEverySoundStaysFiniteAndBounded) {
  struct Setting {
    float preGain;
    float postGain;
    float preBass;
  };
  const Setting extremes[] = {{1.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 1.0f}, {0.01f, 1.0f, 1.0f}};
  for (std::size_t index = 0; index < descriptions.size(); ++index) {
    for (const Setting& setting : extremes) {
      SCOPED_TRACE(descriptions[index] + " at pre gain " + std::to_string(setting.preGain) + ", pre bass " +
                   std::to_string(setting.preBass));
      auto effect = playing(index);
      ASSERT_NE(effect, nullptr);
      effect->setParameter(kPreGain, setting.preGain);
      effect->setParameter(kPostGain, setting.postGain);
      effect->setParameter(kPreBass, setting.preBass);
      const Levels levels = levelsOf(renderInBlocks(*effect, guitar, {512}));
      ASSERT_TRUE(levels.finite);
      // Loud, since every control is at its top, but nothing runs away:
      // at most 24 dB over full scale.
      EXPECT_LT(levels.peak, 16.0);
    }
  }
}

TEST_F(ShippedSoundTest, SoundsWithoutControlNodesDoNotDependOnBlockSizes) {
  const ShippedArchive archive;
  std::size_t compared = 0;
  for (std::size_t index = 0; index < descriptions.size(); ++index) {
    // Control nodes read their values once per block, so their sounds may.
    const BuiltDescription built = archive.build(descriptions[index]);
    ASSERT_NE(built.head, nullptr) << descriptions[index];
    bool hasControlNodes = false;
    for (const AudioNode* node = built.head.get(); node; node = node->next.get()) {
      hasControlNodes = hasControlNodes || node->kind == AudioNode::kControl;
    }
    if (hasControlNodes) continue;
    SCOPED_TRACE(descriptions[index]);
    const auto length = static_cast<VstInt32>(guitar.size());
    auto whole = playing(index, length);
    auto uneven = playing(index);
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(uneven, nullptr);
    const std::vector<float> expected = renderInBlocks(*whole, guitar, {length});
    EXPECT_EQ(renderInBlocks(*uneven, guitar, {1, 300, 17, 512, 2}), expected);
    ++compared;
  }
  EXPECT_GT(compared, 0u);
}

}  // namespace
