// Presets of graph processors, read from the resource archive.
#pragma once

#include "graph/PresetLoader.h"

// Reads each preset as an FXP member of the open resource archive. The
// caller holds an ArchiveSession around the build.
class ArchivePresetLoader : public PresetLoader {
 public:
  bool loadPreset(AudioEffect& processor, const std::string& memberName) override;
};
