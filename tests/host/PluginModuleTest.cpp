#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"

namespace {

class PluginModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module = PluginModule::load(TEST_MODULE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
  }

  std::unique_ptr<PluginModule> module;
  HostCallback callback;
};

TEST_F(PluginModuleTest, CreatesAnEffectThroughTheExportedEntryPoint) {
  AEffect* record = module->createEffect(callback);
  ASSERT_NE(record, nullptr);
  HostedEffect effect(record);
  EXPECT_EQ(record->uniqueID, CCONST('T', 'e', 's', 't'));
  EXPECT_EQ(effect.effectName(), "Echo");
}

TEST_F(PluginModuleTest, AnswersTheDirectoryRequestWhenConfigured) {
  HostedEffect withoutDirectory(module->createEffect(callback));
  EXPECT_EQ(withoutDirectory.productString(), "");
  callback.setDirectory("/plugins");
  HostedEffect withDirectory(module->createEffect(callback));
  EXPECT_EQ(withDirectory.productString(), "/plugins");
}

TEST_F(PluginModuleTest, ProcessesAndSetsParametersThroughTheRecord) {
  HostedEffect effect(module->createEffect(callback));
  effect.start(48000.0f, 4);
  std::vector<float> input{1.0f, -2.0f, 0.5f, 0.0f};
  std::vector<float> output(4, 9.0f);
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};
  effect.processReplacing(inputs, outputs, 4);
  EXPECT_EQ(output, (std::vector<float>{2.0f, -4.0f, 1.0f, 0.0f}));
  effect.setParameter(0, 0.75f);
  EXPECT_FLOAT_EQ(effect.getParameter(0), 0.75f);
}

TEST(PluginModuleLoad, ReportsAMissingFile) {
  std::string error;
  EXPECT_EQ(PluginModule::load("no-such-module.so", error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
