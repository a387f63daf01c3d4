// Presets for graph builds by torvix-pack, read from the members of an archive being built.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "graph/PresetLoader.h"
#include "pack/ArchiveEntry.h"

// Stands in for the archive: a member is found by its name without regard to the case of
// A to Z, and its FXP values go to the processor's setParameter one by one, as the plug-in's
// preset reader applies them. Remembers what each build asked for.
class EntryPresetLoader : public PresetLoader {
 public:
  explicit EntryPresetLoader(const std::vector<ArchiveEntry>& entries) : entries(entries) {}

  bool loadPreset(AudioEffect& processor, const std::string& memberName) override;

  // Every member asked for, and whether it was there.
  const std::map<std::string, bool>& requested() const { return requests; }

 private:
  const ArchiveEntry* find(const std::string& memberName) const;

  const std::vector<ArchiveEntry>& entries;
  std::map<std::string, bool> requests;
};
