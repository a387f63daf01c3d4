#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"

namespace {

TEST(HostedEffect, StartsInStepsAndReportsTheTail) {
  std::string error;
  std::unique_ptr<PluginModule> module = PluginModule::load(TEST_MODULE_PATH, error);
  ASSERT_NE(module, nullptr) << error;
  HostCallback callback;
  HostedEffect effect(module->createEffect(callback));
  effect.open();
  effect.configure(48000.0f, 2);
  effect.setMains(true);
  float input[] = {0.25f, -1.0f};
  float output[] = {9.0f, 9.0f};
  float* inputs[] = {input};
  float* outputs[] = {output};
  effect.processReplacing(inputs, outputs, 2);
  EXPECT_EQ(output[0], 0.5f);
  EXPECT_EQ(output[1], -2.0f);
  EXPECT_EQ(effect.tailSize(), 3);
}

}  // namespace
