#include <gtest/gtest.h>

#include "frame/EffectFactory.h"
#include "support/RecordingHost.h"
#include "support/SilentEffect.h"

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster);

namespace {
int factoryCalls = 0;
bool factoryRefuses = false;
}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  ++factoryCalls;
  return factoryRefuses ? nullptr : new SilentEffect(audioMaster);
}

namespace {

TEST(EntryPoint, RefusesAHostOfVersionZero) {
  RecordingHost host;
  factoryCalls = 0;
  EXPECT_EQ(VSTPluginMain(RecordingHost::callback), nullptr);
  EXPECT_EQ(factoryCalls, 0);
  ASSERT_EQ(host.requests(audioMasterVersion).size(), 1u);
  EXPECT_EQ(host.requests(audioMasterVersion)[0].effect, nullptr);
}

TEST(EntryPoint, ReturnsTheRecordOfTheFactorysEffect) {
  RecordingHost host;
  host.answerWith(audioMasterVersion, 2400);
  factoryRefuses = false;
  AEffect* record = VSTPluginMain(RecordingHost::callback);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->magic, kEffectMagic);
  EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(EntryPoint, ReturnsNoneWhenTheFactoryFails) {
  RecordingHost host;
  host.answerWith(audioMasterVersion, 2400);
  factoryRefuses = true;
  EXPECT_EQ(VSTPluginMain(RecordingHost::callback), nullptr);
  factoryRefuses = false;
}

TEST(EntryPoint, RefusesAMissingCallback) { EXPECT_EQ(VSTPluginMain(nullptr), nullptr); }

}  // namespace
