// "Preset" changes through the host's worker: built there, swapped in between
// blocks, the replaced graph destroyed there.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "AllocationCount.h"
#include "Lv2Renders.h"
#include "ShippedBundle.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr std::uint32_t kBlock = 64;
constexpr float kLead = 3.0f;

class Lv2WorkerTest : public ::testing::Test {
 protected:
  // Plays block number `block` of input through instance into output.
  void play(Lv2Instance& instance, std::size_t block) {
    instance.run(input.data() + block * kBlock, output.data() + block * kBlock, kBlock);
  }

  // Whether blocks [first, last) of output hold the reference's samples.
  bool sameBlocks(const std::vector<float>& reference, std::size_t first, std::size_t last) const {
    return std::equal(output.begin() + first * kBlock, output.begin() + last * kBlock,
                      reference.begin() + first * kBlock);
  }

  Lv2TestHost host{shippedBundle()};
  std::vector<float> input = lv2TestSignal(64 * kBlock);
  std::vector<float> output = std::vector<float>(input.size(), 7.0f);
  const std::vector<float> firstSound = renderSound(host, 0.0f, input, kBlock, {.maxBlockLength = kBlock});
};

TEST_F(Lv2WorkerTest, TheOldSoundPlaysUntilTheWorkersBuildIsSwappedInBetweenBlocks) {
  Lv2Instance instance(host, {.maxBlockLength = kBlock});
  instance.activate();
  play(instance, 0);
  instance.set(kPresetPort, kLead);
  play(instance, 1);
  EXPECT_EQ(instance.worker()->requestCount(), 1u);
  play(instance, 2);
  EXPECT_EQ(instance.worker()->requestCount(), 1u) << "one build outstanding at a time";
  instance.worker()->runPending();
  play(instance, 3);  // the answer arrives after this block
  EXPECT_TRUE(sameBlocks(firstSound, 0, 4));
  play(instance, 4);
  EXPECT_FALSE(sameBlocks(firstSound, 4, 5));
  EXPECT_EQ(instance.worker()->requestCount(), 2u) << "the replaced graph goes to the worker";
  EXPECT_EQ(instance.worker()->pendingRequests(), 1u);
  instance.worker()->runPending();
  EXPECT_EQ(instance.worker()->pendingRequests(), 0u);
}

class Lv2IgnoredPresetTest : public Lv2WorkerTest, public ::testing::WithParamInterface<float> {};

TEST_P(Lv2IgnoredPresetTest, AValueNamingNoSoundIsIgnored) {
  Lv2Instance instance(host, {.maxBlockLength = kBlock});
  instance.activate();
  for (std::size_t block = 0; block < 8; ++block) {
    if (block == 2) instance.set(kPresetPort, GetParam());
    play(instance, block);
    instance.worker()->runPending();
  }
  EXPECT_EQ(instance.worker()->requestCount(), 0u);
  EXPECT_TRUE(sameBlocks(firstSound, 0, 8));
}

INSTANTIATE_TEST_SUITE_P(Values, Lv2IgnoredPresetTest,
                         ::testing::Values(6.0f, 99.0f, -1.0f, -0.6f, 1e30f,
                                           std::numeric_limits<float>::quiet_NaN(),
                                           std::numeric_limits<float>::infinity()));

TEST_F(Lv2WorkerTest, TheLatestValueWinsAndAStaleBuildIsDropped) {
  Lv2Instance instance(host, {.maxBlockLength = kBlock});
  instance.activate();
  instance.set(kPresetPort, 1.0f);
  play(instance, 0);
  instance.set(kPresetPort, 2.0f);
  play(instance, 1);
  instance.worker()->runPending();
  play(instance, 2);  // sound 1 arrives, no longer wanted
  play(instance, 3);
  EXPECT_EQ(instance.worker()->requestCount(), 2u) << "build 1, its disposal";
  instance.worker()->runPending();
  play(instance, 4);
  EXPECT_EQ(instance.worker()->requestCount(), 3u) << "then build 2";
  instance.worker()->runPending();
  play(instance, 5);  // sound 2 arrives
  EXPECT_TRUE(sameBlocks(firstSound, 0, 6)) << "the stale build never played";
  play(instance, 6);
  EXPECT_FALSE(sameBlocks(firstSound, 6, 7));
  instance.worker()->runPending();

  SavedState state;
  ASSERT_EQ(instance.save(state), LV2_STATE_SUCCESS);
  EXPECT_EQ(state.get(host.map("urn:brelvanix:torvix-distortion#soundIndex")).bytes,
            std::string("\2\0\0\0", 4));
  EXPECT_EQ(instance.worker()->requestCount(), 4u);
}

// A description the builder refuses stays unplayed, and is not asked for
// again block after block.
TEST_F(Lv2WorkerTest, ASoundThatCannotBeBuiltLeavesTheOldOnePlaying) {
  std::vector<ZipFixtureMember> members = readArchiveMembers(SHIPPED_ARCHIVE_PATH);
  members.push_back({"zzz.xml", "<torvix><fx id=\"broken\""});
  const TemporaryDirectory directory;
  ASSERT_TRUE(writeBundle(directory / "torvix-distortion.lv2", members));
  Lv2TestHost broken(directory / "torvix-distortion.lv2");
  Lv2Instance instance(broken, {.maxBlockLength = kBlock});
  instance.activate();
  instance.set(kPresetPort, static_cast<float>(descriptionsOf(members).size() - 1));
  for (std::size_t block = 0; block < 8; ++block) {
    play(instance, block);
    instance.worker()->runPending();
  }
  EXPECT_EQ(instance.worker()->requestCount(), 1u);
  EXPECT_TRUE(sameBlocks(firstSound, 0, 8));
  SavedState state;
  ASSERT_EQ(instance.save(state), LV2_STATE_SUCCESS);
  EXPECT_EQ(state.get(broken.map("urn:brelvanix:torvix-distortion#soundIndex")).bytes, std::string(4, '\0'));
}

// The audio thread plays while the worker's thread builds. It allocates
// nothing, and the sound changes between two blocks: every block before
// equals the old sound's, every block from then on a render that switched
// there.
TEST_F(Lv2WorkerTest, AChangeWhileAudioRunsAllocatesNothingOnTheAudioThreadAndTearsNoBlock) {
  input = lv2TestSignal(20000 * kBlock);
  output.assign(input.size(), 7.0f);
  const AllocationCount creation;
  Lv2Instance live(host, {.maxBlockLength = kBlock});
  EXPECT_GT(creation.allocations(), 0) << "the count sees the plug-in's allocations";
  live.activate();
  live.worker()->start();
  constexpr std::size_t kChangeAt = 8;
  std::size_t played = 0;
  long audioAllocations = -1;
  std::thread audio([&] {
    const AllocationCount count;
    std::size_t stopAt = input.size() / kBlock;
    for (std::size_t block = 0; block < stopAt; ++block) {
      if (block == kChangeAt) live.set(kPresetPort, kLead);
      play(live, block);
      // Build and disposal asked for: the swap is done.
      if (live.worker()->requestCount() >= 2 && stopAt == input.size() / kBlock) stopAt = block + 16;
      played = block + 1;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    audioAllocations = count.allocations();
  });
  audio.join();
  EXPECT_EQ(audioAllocations, 0);

  input.resize(played * kBlock);
  output.resize(played * kBlock);
  const std::vector<float> oldSound = renderSound(host, 0.0f, input, kBlock, {.maxBlockLength = kBlock});
  std::size_t swapped = kChangeAt + 1;
  while (swapped < played && sameBlocks(oldSound, swapped, swapped + 1)) ++swapped;
  ASSERT_LT(swapped, played) << "the new sound never played";

  Lv2Instance reference(host, {.maxBlockLength = kBlock});
  reference.activate();
  std::vector<float> expected(input.size());
  for (std::size_t block = 0; block < played; ++block) {
    // Asked for two blocks ahead: the answer arrives after the next one.
    if (block + 2 == swapped) reference.set(kPresetPort, kLead);
    reference.run(input.data() + block * kBlock, expected.data() + block * kBlock, kBlock);
    if (block + 2 == swapped) reference.worker()->runPending();
  }
  EXPECT_TRUE(sameSamples(expected, output));
}

}  // namespace
