// Blocks of any length, in place, and no worker.
#include <gtest/gtest.h>

#include <vector>

#include "Lv2Renders.h"
#include "ShippedBundle.h"
#include "VstReference.h"
#include "support/GuardedBuffer.h"

namespace {

constexpr int kAnnounced = 512;
constexpr float kLead = 3.0f;

class Lv2BlocksTest : public ::testing::Test {
 protected:
  Lv2TestHost host{shippedBundle()};
  const std::vector<float> input = lv2TestSignal(3 * 8192 + 5);
};

// The engine runs a long block in pieces; a sound's control nodes follow the
// blocks as given, so each partition is held against the VST module's.
TEST_F(Lv2BlocksTest, BlocksLongerThanAnnouncedAndUnevenOnesGiveTheVstModulesSamples) {
  const int whole = static_cast<int>(input.size());
  Lv2Instance longer(host, {.maxBlockLength = kAnnounced});
  longer.set(kPresetPort, kLead);
  longer.activate();
  EXPECT_TRUE(sameSamples(renderThroughVst({.preset = 3}, input, {whole}), longer.render(input, {whole})));

  Lv2Instance uneven(host, {.maxBlockLength = kAnnounced});
  uneven.set(kPresetPort, kLead);
  uneven.activate();
  const std::vector<int> blocks = {kAnnounced, 1, 3, 7, 13, 1031, 5, 4096, 17, 64};
  EXPECT_TRUE(sameSamples(renderThroughVst({.preset = 3}, input, blocks), uneven.render(input, blocks)));
}

TEST_F(Lv2BlocksTest, InPlaceBuffersGiveTheSameSamples) {
  const std::vector<float> separate = renderSound(host, kLead, input, kAnnounced);
  Lv2Instance instance(host);
  instance.set(kPresetPort, kLead);
  instance.activate();
  GuardedBuffer buffer(input.size());
  std::copy(input.begin(), input.end(), buffer.data());
  for (std::size_t done = 0; done < input.size(); done += kAnnounced) {
    const std::size_t length = std::min<std::size_t>(kAnnounced, input.size() - done);
    instance.run(buffer.data() + done, buffer.data() + done, static_cast<std::uint32_t>(length));
  }
  EXPECT_TRUE(buffer.guardsIntact());
  EXPECT_TRUE(sameSamples(separate, buffer.samples()));
}

TEST_F(Lv2BlocksTest, EmptyBlocksTouchNothingAndChangeNothing) {
  const std::vector<float> plain = renderSound(host, kLead, input, kAnnounced);
  Lv2Instance instance(host);
  instance.set(kPresetPort, kLead);
  instance.activate();
  GuardedBuffer in(input.size());
  std::copy(input.begin(), input.end(), in.data());
  GuardedBuffer out(input.size(), 7.0f);
  for (std::size_t done = 0; done < input.size(); done += kAnnounced) {
    instance.run(in.data() + done, out.data() + done, 0);
    EXPECT_EQ(out[done], 7.0f);
    const std::size_t length = std::min<std::size_t>(kAnnounced, input.size() - done);
    instance.run(in.data() + done, out.data() + done, static_cast<std::uint32_t>(length));
  }
  EXPECT_TRUE(in.guardsIntact());
  EXPECT_TRUE(out.guardsIntact());
  EXPECT_TRUE(sameSamples(plain, out.samples()));
}

TEST_F(Lv2BlocksTest, ParameterChangesApplyBeforeTheBlockThatSeesThem) {
  Lv2Instance instance(host);
  instance.activate();
  std::vector<float> first(kAnnounced);
  instance.run(input.data(), first.data(), kAnnounced);
  instance.set(kPreGainPort, 0.0f);
  std::vector<float> silenced(kAnnounced, 7.0f);
  instance.run(input.data() + kAnnounced, silenced.data(), kAnnounced);
  EXPECT_NE(first, std::vector<float>(kAnnounced, 0.0f));
  EXPECT_EQ(silenced, std::vector<float>(kAnnounced, 0.0f));
}

// Without a worker the sound changes only where building is allowed: at
// activation, never on the audio thread.
TEST_F(Lv2BlocksTest, WithoutWorkerPresetChangesOnlyAtActivation) {
  const Lv2Setup noWorker{.worker = false};
  const std::vector<float> first = renderSound(host, 0.0f, input, kAnnounced, noWorker);
  Lv2Instance instance(host, noWorker);
  instance.activate();
  instance.set(kPresetPort, kLead);
  EXPECT_TRUE(sameSamples(first, instance.render(input, {kAnnounced})));

  const std::vector<float> lead = renderThroughVst({.preset = 3}, input, {kAnnounced});
  EXPECT_TRUE(sameSamples(lead, renderSound(host, kLead, input, kAnnounced, noWorker)));
}

TEST_F(Lv2BlocksTest, AFeatureWithoutUriIsPassedOver) {
  EXPECT_TRUE(sameSamples(renderThroughVst({.preset = 3}, input, {kAnnounced}),
                          renderSound(host, kLead, input, kAnnounced, {.unnamedFeature = true})));
}

}  // namespace
