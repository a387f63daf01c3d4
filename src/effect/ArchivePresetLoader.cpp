#include "effect/ArchivePresetLoader.h"

#include "effect/PresetReader.h"

bool ArchivePresetLoader::loadPreset(AudioEffect& processor, const std::string& memberName) {
  return readPreset(&processor, memberName.c_str());
}
