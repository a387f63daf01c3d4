// The graph descriptions an effect offers through its "Preset" parameter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/HostedEffect.h"
#include "render/ModuleDescriptions.h"

// The effect takes an index into its description list as "Preset". Where a resource
// archive lies beside the module, the list is the archive's, read and built host-side
// with the plug-in's own code: a description that the plug-in refuses keeps its place
// and its index, with the reason. Otherwise the effect is probed: it shows the
// description's name as the display text and keeps its current choice when the index
// is not taken, so the indices 0, 1, 2 ... are tried until one is not taken.
class PresetCatalogue {
 public:
  // The descriptions of the effect whose archive is in archiveDirectory; a probe gives
  // the effect back its original choice. An effect without a "Preset" parameter offers
  // no descriptions.
  static PresetCatalogue probe(HostedEffect& effect, const std::string& archiveDirectory);

  const std::vector<ModuleDescription>& descriptions() const { return listed; }
  // The "Preset" parameter's index; empty when the effect has none.
  std::optional<VstInt32> parameterIndex() const { return parameter; }

  // The index that request means: a listed name, with or without its
  // ".xml", in any case, or a zero-based index within the list. Empty for
  // anything else.
  std::optional<int> find(const std::string& request) const;

  // The index that request means, for rendering. Throws RenderError for an effect without
  // "Preset", a request that find does not know and a description the plug-in refuses
  // (with its reason).
  int select(const std::string& request) const;

 private:
  // A bound on the list, should an effect take every index.
  static constexpr int kMostDescriptions = 4096;

  void probeIndices(HostedEffect& effect);

  std::optional<VstInt32> parameter;
  std::vector<ModuleDescription> listed;
};
