// The shipped sounds played through the built module as a host plays them:
// a guitar part at -12 dBFS must come out finite, below full scale and at
// comparable loudness in every sound at the default settings, and stay
// finite and bounded with every control at its extremes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "PluckedGuitar.h"
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
  std::unique_ptr<HostedEffect> playing(std::size_t index, VstInt32 blockSize = 512) {
    AEffect* record = module->createEffect(callback);
    EXPECT_NE(record, nullptr);
    if (!record) return nullptr;
    auto effect = std::make_unique<HostedEffect>(record);
    effect->start(44100.0f, blockSize);
    effect->setParameter(kPreset, static_cast<float>(index));
    EXPECT_EQ(effect->parameterDisplay(kPreset), descriptions[index]);
    return effect;
  }

  HostCallback callback;
  std::unique_ptr<PluginModule> module;
  std::vector<std::string> descriptions;
  const std::vector<float> guitar = pluckedGuitar(0.25f);
};

TEST_F(ShippedSoundTest, AtTheDefaultSettingsEverySoundIsBelowFullScaleAndOfComparableLoudness) {
  double quietest = 0.0;
  double loudest = -1000.0;
  for (std::size_t index = 0; index < descriptions.size(); ++index) {
    SCOPED_TRACE(descriptions[index]);
    auto effect = playing(index);
    ASSERT_NE(effect, nullptr);
    const Levels levels = levelsOf(renderInBlocks(*effect, guitar, {512}));
    ASSERT_TRUE(levels.finite);
    EXPECT_LT(levels.peak, 1.0);
    // Audible: no sound may be a near-silent slip.
    EXPECT_GT(decibels(levels.rms), -40.0);
    quietest = std::min(quietest, decibels(levels.rms));
    loudest = std::max(loudest, decibels(levels.rms));
  }
  // Switching sounds must not need a grab for the level control.
  EXPECT_LE(loudest - quietest, 6.0);
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
