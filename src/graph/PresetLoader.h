// How the graph builder gets a processor's preset, without knowing where presets live.
#pragma once

#include <string>

#include "frame/AudioEffect.h"

// The engine implements it over the resource archive; tools over a folder of preset
// sources; tests over a table.
class PresetLoader {
 public:
  virtual ~PresetLoader() = default;
  // build: applies the preset stored as memberName (for example "dist.fxp") to processor
  // through its setParameter. False when there is no such preset or it cannot be read;
  // the builder goes on either way.
  virtual bool loadPreset(AudioEffect& processor, const std::string& memberName) = 0;
};
