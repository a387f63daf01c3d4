// After loud playing, silence must not come out of any shipped sound as subnormal numbers,
// which cost many times normal arithmetic in every later stage of a host's chain. A bell of
// high resonance may keep a limit cycle just above the smallest normal float (its damping
// term is what flushes to zero first), so the tail must be subnormal-free and far below
// hearing rather than exactly zero.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ShippedArchive.h"
#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/RenderInBlocks.h"
#include "support/SameSamples.h"

namespace {

constexpr VstInt32 kPreGain = 0;
constexpr VstInt32 kPostGain = 1;
constexpr VstInt32 kPreset = 3;
constexpr std::size_t kSecond = 44100;

TEST(SilenceTail, NoShippedSoundLeavesSubnormalsOrAnAudibleTailAfterLoudPlaying) {
  HostCallback callback;
  callback.setDirectory(ShippedArchive::directory());
  std::string error;
  const auto module = PluginModule::load(PLUGIN_MODULE_PATH, error);
  ASSERT_NE(module, nullptr) << error;
  const std::vector<std::string> descriptions = ShippedArchive().descriptionNames();
  ASSERT_FALSE(descriptions.empty());
  const std::vector<float> loud = randomSignal(kSecond, 17, 1.0f);
  const std::vector<float> silence(3 * kSecond, 0.0f);
  for (std::size_t index = 0; index < descriptions.size(); ++index) {
    SCOPED_TRACE(descriptions[index]);
    AEffect* record = module->createEffect(callback);
    ASSERT_NE(record, nullptr);
    HostedEffect effect(record);
    effect.start(44100.0f, 512);
    effect.setParameter(kPreset, static_cast<float>(index));
    effect.setParameter(kPreGain, 1.0f);
    effect.setParameter(kPostGain, 1.0f);
    renderInBlocks(effect, loud, {512});
    const std::vector<float> tail = renderInBlocks(effect, silence, {512});
    const auto last = tail.end() - static_cast<std::ptrdiff_t>(kSecond);
    EXPECT_TRUE(std::none_of(tail.begin(), tail.end(), [](float s) { return std::fpclassify(s) == FP_SUBNORMAL; }));
    EXPECT_TRUE(std::all_of(last, tail.end(), [](float s) { return std::fabs(s) < 1e-30f; }));
  }
}

}  // namespace
