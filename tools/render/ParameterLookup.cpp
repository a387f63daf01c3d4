#include "render/ParameterLookup.h"

#include <array>
#include <utility>

#include "render/NumberText.h"
#include "render/ParameterName.h"

namespace {

// The editor's slider captions that differ from the parameter names.
constexpr std::array<std::pair<const char*, const char*>, 1> kEditorCaptions{{{"Pre Lo", "Pre bass"}}};

std::optional<VstInt32> findByName(HostedEffect& effect, const std::string& requested) {
  for (VstInt32 index = 0; index < parameterCount(effect); ++index) {
    if (parameterNameMatches(effect.parameterName(index), requested)) return index;
  }
  return std::nullopt;
}

}  // namespace

std::optional<VstInt32> findParameter(HostedEffect& effect, const std::string& requested) {
  if (const std::optional<VstInt32> named = findByName(effect, requested)) return named;
  for (const auto& [caption, name] : kEditorCaptions) {
    if (parameterNameMatches(caption, requested)) return findByName(effect, name);
  }
  const std::optional<int> index = indexFromText(requested);
  if (index && *index < parameterCount(effect)) return *index;
  return std::nullopt;
}

VstInt32 parameterCount(HostedEffect& effect) { return effect.record()->numParams; }
