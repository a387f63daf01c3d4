#include <gtest/gtest.h>

#include <stdexcept>

#include "frame/EffectFactory.h"
#include "support/RecordingHost.h"
#include "support/SilentEffect.h"

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster);

namespace {
int factoryCalls = 0;
enum class Factory { creates, refuses, throws };
Factory factory = Factory::creates;
}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  ++factoryCalls;
  if (factory == Factory::throws) throw std::runtime_error("no effect today");
  return factory == Factory::refuses ? nullptr : new SilentEffect(audioMaster);
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
  factory = Factory::creates;
  AEffect* record = VSTPluginMain(RecordingHost::callback);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->magic, kEffectMagic);
  EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(EntryPoint, ReturnsNoneWhenTheFactoryFails) {
  RecordingHost host;
  host.answerWith(audioMasterVersion, 2400);
  for (Factory failing : {Factory::refuses, Factory::throws}) {
    factory = failing;
    EXPECT_EQ(VSTPluginMain(RecordingHost::callback), nullptr);
  }
  factory = Factory::creates;
}

TEST(EntryPoint, RefusesAMissingCallback) { EXPECT_EQ(VSTPluginMain(nullptr), nullptr); }

}  // namespace
