// The sound kept in the plug-in's LV2 state: by name, else by index.
#include <gtest/gtest.h>
#include <lv2/atom/atom.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Lv2Renders.h"
#include "ShippedBundle.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr const char* kNameKey = "urn:brelvanix:torvix-distortion#sound";
constexpr const char* kIndexKey = "urn:brelvanix:torvix-distortion#soundIndex";
constexpr int kBlock = 256;

std::string intBytes(std::int32_t value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// The state as a host carries it from one session to another: by URI.
SavedState carried(const SavedState& state, const Lv2TestHost& from, Lv2TestHost& to) {
  SavedState moved;
  for (const auto& [key, value] : state.all()) {
    moved.set(to.map(from.uriOf(key).c_str()), to.map(from.uriOf(value.type).c_str()), value.bytes);
  }
  return moved;
}

// A state naming a sound and an index, as a session saved it.
SavedState sessionState(Lv2TestHost& host, const std::string& name, std::int32_t index) {
  SavedState state;
  state.set(host.map(kNameKey), host.map(LV2_ATOM__String), name + '\0');
  state.set(host.map(kIndexKey), host.map(LV2_ATOM__Int), intBytes(index));
  return state;
}

class Lv2StateTest : public ::testing::Test {
 protected:
  // A fresh instance given state before activation (with the "Preset"
  // number its host keeps beside it), then played.
  std::vector<float> renderRestored(Lv2TestHost& onHost, SavedState& state, float presetPort = 0.0f,
                                    const Lv2Setup& setup = {}) {
    Lv2Instance instance(onHost, setup);
    instance.set(kPresetPort, presetPort);
    EXPECT_EQ(instance.restore(state), LV2_STATE_SUCCESS);
    instance.activate();
    return instance.render(input, {kBlock});
  }

  Lv2TestHost host{shippedBundle()};
  const std::vector<ZipFixtureMember> shipped = readArchiveMembers(SHIPPED_ARCHIVE_PATH);
  const std::vector<std::string> sounds = descriptionsOf(shipped);
  const std::vector<float> input = lv2TestSignal(8192);
};

TEST_F(Lv2StateTest, SavesTheSoundsNameAndIndex) {
  Lv2Instance instance(host);
  instance.set(kPresetPort, 3.0f);
  instance.activate();
  SavedState state;
  ASSERT_EQ(instance.save(state), LV2_STATE_SUCCESS);
  const SavedState::Value name = state.get(host.map(kNameKey));
  EXPECT_EQ(name.type, host.map(LV2_ATOM__String));
  EXPECT_EQ(name.bytes, sounds[3] + '\0');
  const SavedState::Value index = state.get(host.map(kIndexKey));
  EXPECT_EQ(index.type, host.map(LV2_ATOM__Int));
  EXPECT_EQ(index.bytes, intBytes(3));
}

// Packed again in reverse order with a sound that sorts first, the archive
// numbers every sound one higher: the session's sound is found by name.
TEST_F(Lv2StateTest, RestoresByNameAcrossAnArchivePackedAgainInAnotherOrder) {
  Lv2Instance saving(host);
  saving.set(kPresetPort, 3.0f);
  saving.activate();
  SavedState saved;
  ASSERT_EQ(saving.save(saved), LV2_STATE_SUCCESS);

  std::vector<ZipFixtureMember> repacked(shipped.rbegin(), shipped.rend());
  repacked.push_back({"aaa.xml", "<torvix/>"});
  const TemporaryDirectory directory;
  ASSERT_TRUE(writeBundle(directory / "torvix-distortion.lv2", repacked));
  Lv2TestHost other(directory / "torvix-distortion.lv2");
  ASSERT_NE(other.plugin(), nullptr);
  const std::vector<std::string> otherSounds = descriptionsOf(repacked);
  const auto moved = std::find(otherSounds.begin(), otherSounds.end(), sounds[3]);
  ASSERT_EQ(moved - otherSounds.begin(), 4);

  SavedState restored = carried(saved, host, other);
  EXPECT_TRUE(sameSamples(renderSound(other, 4.0f, input, kBlock), renderRestored(other, restored, 3.0f)));

  Lv2Instance again(other);
  ASSERT_EQ(again.restore(restored), LV2_STATE_SUCCESS);
  SavedState resaved;
  ASSERT_EQ(again.save(resaved), LV2_STATE_SUCCESS);
  EXPECT_EQ(resaved.get(other.map(kNameKey)).bytes, sounds[3] + '\0');
  EXPECT_EQ(resaved.get(other.map(kIndexKey)).bytes, intBytes(4));
  EXPECT_TRUE(other.logged().empty());
}

class Lv2StateLogTest : public Lv2StateTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Lv2StateLogTest, ANameTheArchiveLacksFallsBackToTheIndexAndIsLogged) {
  const bool withLog = GetParam();
  SavedState state = sessionState(host, "gone.xml", 2);
  EXPECT_TRUE(sameSamples(renderSound(host, 2.0f, input, kBlock),
                          renderRestored(host, state, 0.0f, {.log = withLog})));
  const std::vector<std::string> logged = host.logged();
  if (withLog) {
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("\"gone.xml\""), std::string::npos) << logged[0];
    EXPECT_NE(logged[0].find(sounds[2]), std::string::npos) << logged[0];
  } else {
    EXPECT_TRUE(logged.empty());
  }
}

TEST_P(Lv2StateLogTest, NeitherAKnownNameNorAValidIndexKeepsTheSound) {
  const bool withLog = GetParam();
  SavedState state = sessionState(host, "gone.xml", 99);
  EXPECT_TRUE(sameSamples(renderSound(host, 1.0f, input, kBlock),
                          renderRestored(host, state, 1.0f, {.log = withLog})));
  EXPECT_EQ(host.logged().size(), withLog ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutLog, Lv2StateLogTest, ::testing::Bool());

TEST_F(Lv2StateTest, TheHostsPresetNumberBesideARestoredStateIsNotApplied) {
  Lv2Instance instance(host);
  instance.set(kPresetPort, 1.0f);
  SavedState state = sessionState(host, sounds[3], 3);
  ASSERT_EQ(instance.restore(state), LV2_STATE_SUCCESS);
  instance.activate();
  const std::vector<float> played = instance.render(input, {kBlock});
  EXPECT_TRUE(sameSamples(renderSound(host, 3.0f, input, kBlock), played));
  EXPECT_EQ(instance.worker()->requestCount(), 0u);
  instance.set(kPresetPort, 2.0f);
  instance.render(input, {kBlock});
  EXPECT_EQ(instance.worker()->requestCount(), 1u) << "a later change still counts";
}

TEST_F(Lv2StateTest, AStateWithoutTheSoundChangesNothing) {
  SavedState empty;
  EXPECT_TRUE(sameSamples(renderSound(host, 2.0f, input, kBlock), renderRestored(host, empty, 2.0f)));
  EXPECT_TRUE(host.logged().empty());
}

}  // namespace
