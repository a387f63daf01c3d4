// The LV2 plug-in plays every shipped sound with the VST module's samples.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>

#include "Lv2Renders.h"
#include "ShippedBundle.h"
#include "VstReference.h"

namespace {

struct Settings {
  const char* name;
  VstSettings values;
};

const Settings kSettings[] = {
    {"defaults", {}},
    {"hot", {0.9f, 0.7f, 0.2f, 0}},
    {"soft", {0.2f, 0.3f, 0.85f, 0}},
};

void PrintTo(const Settings& settings, std::ostream* out) { *out << settings.name; }

class Lv2VstEqualityTest : public ::testing::TestWithParam<std::tuple<Settings, int>> {};

TEST_P(Lv2VstEqualityTest, EverySoundGivesTheVstModulesSamples) {
  const auto& [settings, blockSize] = GetParam();
  const std::vector<float> input = lv2TestSignal(12000);
  Lv2TestHost host(shippedBundle());
  ASSERT_NE(host.plugin(), nullptr);
  const std::vector<std::string> sounds = descriptionsOf(readArchiveMembers(SHIPPED_ARCHIVE_PATH));
  ASSERT_GE(sounds.size(), 6u);
  for (std::size_t sound = 0; sound < sounds.size(); ++sound) {
    SCOPED_TRACE(sounds[sound]);
    VstSettings vst = settings.values;
    vst.preset = static_cast<int>(sound);
    const std::vector<float> expected = renderThroughVst(vst, input, {blockSize});
    const std::vector<float> actual =
        renderSound(host, static_cast<float>(sound), input, blockSize, {.maxBlockLength = blockSize},
                    vst.preGain, vst.postGain, vst.preBass);
    EXPECT_TRUE(sameSamples(expected, actual));
  }
}

INSTANTIATE_TEST_SUITE_P(SettingsAndBlocks, Lv2VstEqualityTest,
                         ::testing::Combine(::testing::ValuesIn(kSettings), ::testing::Values(512, 64)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::to_string(std::get<1>(info.param));
                         });

TEST(Lv2VstEquality, AnotherSampleRate) {
  const std::vector<float> input = lv2TestSignal(12000);
  Lv2TestHost host(shippedBundle());
  const VstSettings settings{0.7f, 0.6f, 0.3f, 3};
  const std::vector<float> expected = renderThroughVst(settings, input, {256}, 48000.0f);
  const std::vector<float> actual =
      renderSound(host, 3.0f, input, 256, {.sampleRate = 48000.0, .maxBlockLength = 256}, settings.preGain,
                  settings.postGain, settings.preBass);
  EXPECT_TRUE(sameSamples(expected, actual));
}

}  // namespace
