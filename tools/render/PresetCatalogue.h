// The graph descriptions an effect offers through its "Preset" parameter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/HostedEffect.h"

// The effect takes an index into its description list as "Preset", shows
// the description's name as its display text, and keeps its current choice
// when the index is outside the list. So the list is found by trying the
// indices 0, 1, 2 ... until one is not taken.
class PresetCatalogue {
 public:
  // Probes the effect and gives it back its original choice. An effect
  // without a "Preset" parameter offers no descriptions.
  static PresetCatalogue probe(HostedEffect& effect);

  const std::vector<std::string>& names() const { return descriptionNames; }
  // The "Preset" parameter's index; empty when the effect has none.
  std::optional<VstInt32> parameterIndex() const { return parameter; }

  // The index that request means: a listed name, with or without its
  // ".xml", in any case, or a zero-based index within the list. Empty for
  // anything else.
  std::optional<int> find(const std::string& request) const;

 private:
  // A bound on the list, should an effect take every index.
  static constexpr int kMostDescriptions = 4096;

  std::optional<VstInt32> parameter;
  std::vector<std::string> descriptionNames;
};
