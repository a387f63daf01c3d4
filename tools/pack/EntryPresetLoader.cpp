#include "pack/EntryPresetLoader.h"

#include "pack/AsciiCase.h"
#include "pack/FxpProgram.h"

bool EntryPresetLoader::loadPreset(AudioEffect& processor, const std::string& memberName) {
  const ArchiveEntry* entry = find(memberName);
  FxpProgram program;
  const bool loaded = entry && decodeFxp(entry->bytes, program);
  requests[memberName] = loaded;
  if (!loaded) return false;
  for (std::size_t i = 0; i < program.values.size(); ++i) {
    processor.setParameter(static_cast<VstInt32>(i), program.values[i]);
  }
  return true;
}

const ArchiveEntry* EntryPresetLoader::find(const std::string& memberName) const {
  for (const ArchiveEntry& entry : entries) {
    if (equalIgnoringCase(entry.name, memberName)) return &entry;
  }
  return nullptr;
}
