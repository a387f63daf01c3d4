#include "VstReference.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/RenderInBlocks.h"

std::vector<float> renderThroughVst(const VstSettings& settings, const std::vector<float>& input,
                                    const std::vector<int>& blockSizes, float sampleRate) {
  std::string error;
  const std::unique_ptr<PluginModule> module = PluginModule::load(PLUGIN_MODULE_PATH, error);
  EXPECT_NE(module, nullptr) << error;
  if (!module) return {};
  HostCallback callback;
  callback.setDirectory(std::filesystem::path(SHIPPED_ARCHIVE_PATH).parent_path().string() + "/");
  HostedEffect effect(module->createEffect(callback));
  effect.setParameter(3, static_cast<float>(settings.preset));
  effect.setParameter(0, settings.preGain);
  effect.setParameter(1, settings.postGain);
  effect.setParameter(2, settings.preBass);
  effect.start(sampleRate, blockSizes.front());
  return renderInBlocks(effect, input, std::vector<VstInt32>(blockSizes.begin(), blockSizes.end()));
}
