#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/RenderInBlocks.h"
#include "support/SteadyArchive.h"
#include "support/TemporaryDirectory.h"

namespace {

std::vector<float> guitarLikeSignal(std::size_t length) {
  std::vector<float> samples(length);
  for (std::size_t i = 0; i < length; ++i) {
    const double t = double(i) / 44100.0;
    samples[i] = static_cast<float>(
        0.6 * std::exp(-3.0 * t) *
        (std::sin(2 * std::numbers::pi * 110 * t) + 0.5 * std::sin(2 * std::numbers::pi * 220 * t)));
  }
  return samples;
}

// The built plug-in module, loaded as a host loads it, with an archive of
// the test's own in the directory the host reports.
class PluginEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeSteadyArchive(directory / "a.zip"));
    callback.setDirectory(directory.path().string());
    std::string error;
    module = PluginModule::load(PLUGIN_MODULE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
  }

  std::unique_ptr<HostedEffect> instance() {
    AEffect* record = module->createEffect(callback);
    EXPECT_NE(record, nullptr);
    return std::make_unique<HostedEffect>(record);
  }

  TemporaryDirectory directory;
  HostCallback callback;
  std::unique_ptr<PluginModule> module;
};

TEST_F(PluginEndToEndTest, ReportsItselfToTheHost) {
  auto effect = instance();
  EXPECT_EQ(effect->dispatch(effGetPlugCategory), kPlugCategEffect);
  effect->start(44100.0f, 512);
  EXPECT_EQ(effect->record()->uniqueID, CCONST('K', 'w', 'r', 'x'));
  EXPECT_EQ(effect->effectName(), "TorvixDistortion");
  EXPECT_EQ(effect->vendorString(), "Brelvanix");
  EXPECT_EQ(effect->dispatch(effGetVendorVersion), 1100);
  EXPECT_EQ(effect->dispatch(effGetTailSize), 1000);
  EXPECT_EQ(effect->programName(), "Init 1");
  EXPECT_EQ(effect->parameterName(2), "Pre bass");
  EXPECT_EQ(effect->parameterDisplay(3), "steady.xml");
  effect->setParameter(3, 1.0f);
  EXPECT_EQ(effect->parameterDisplay(3), "thru.xml");
}

TEST_F(PluginEndToEndTest, PreGainZeroGivesSilence) {
  auto effect = instance();
  effect->start(44100.0f, 1024);
  effect->setParameter(0, 0.0f);
  for (float sample : renderInBlocks(*effect, guitarLikeSignal(4096), {1024})) ASSERT_EQ(sample, 0.0f);
}

TEST_F(PluginEndToEndTest, BlockSizesDoNotChangeTheOutput) {
  const std::vector<float> input = guitarLikeSignal(3 * 8192);
  auto whole = instance();
  whole->start(44100.0f, 8192);
  auto uneven = instance();
  uneven->start(44100.0f, 1024);
  auto single = instance();
  single->start(44100.0f, 1);
  const std::vector<float> expected = renderInBlocks(*whole, input, {8192});
  EXPECT_EQ(renderInBlocks(*uneven, input, {768, 256}), expected);
  EXPECT_EQ(renderInBlocks(*single, std::vector<float>(input.begin(), input.begin() + 2000), {1}),
            std::vector<float>(expected.begin(), expected.begin() + 2000));
  float peak = 0.0f;
  for (float sample : expected) peak = std::max(peak, std::fabs(sample));
  EXPECT_GT(peak, 0.0f);
}

TEST_F(PluginEndToEndTest, SurvivesTheCallOrdersOfRealHosts) {
  auto early = instance();
  early->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  early->dispatch(effSetBlockSize, 0, 8192);
  early->dispatch(effOpen);
  early->setMains(true);
  auto second = instance();
  second->start(44100.0f, 768);
  const std::vector<float> input = guitarLikeSignal(8192);
  renderInBlocks(*early, input, {8192});
  renderInBlocks(*second, input, {768, 256});
  early->dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  for (float sample : renderInBlocks(*early, input, {8192})) ASSERT_TRUE(std::isfinite(sample));
  auto neverOpened = instance();
  neverOpened->close();
}

}  // namespace
