#include "render/EffectModule.h"

#include <filesystem>

#include "platform/ExecutablePath.h"
#include "render/RenderError.h"

EffectModule::EffectModule(const std::string& path, const std::string& archiveDirectory)
    : modulePath(path), givenArchiveDirectory(archiveDirectory) {
  callback.setDirectory(archiveDirectory);
  std::string error;
  module = PluginModule::load(path, error);
  if (!module) throw RenderError("cannot load module " + path + ": " + error);
}

std::unique_ptr<HostedEffect> EffectModule::createEffect() {
  AEffect* record = module->createEffect(callback);
  if (!record) throw RenderError("module " + modulePath + " created no effect");
  auto effect = std::make_unique<HostedEffect>(record);
  if (record->numInputs < 1 || record->numOutputs < 1) {
    throw RenderError("module " + modulePath + " has an effect without an audio input and output");
  }
  if (!(record->flags & effFlagsCanReplacing)) {
    throw RenderError("module " + modulePath + " has an effect that cannot process replacing");
  }
  return effect;
}

std::string EffectModule::archiveDirectory() const {
  if (!givenArchiveDirectory.empty()) return givenArchiveDirectory;
  return std::filesystem::absolute(modulePath).parent_path().string();
}

std::string defaultModulePath() {
  const std::filesystem::path executable = platform::executableFileName();
  return (executable.parent_path() / "torvix_distortion.so").string();
}
