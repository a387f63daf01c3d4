#include "render/ParameterLookup.h"

#include "render/ParameterName.h"

std::optional<VstInt32> findParameter(HostedEffect& effect, const std::string& requested) {
  for (VstInt32 index = 0; index < parameterCount(effect); ++index) {
    if (parameterNameMatches(effect.parameterName(index), requested)) return index;
  }
  return std::nullopt;
}

VstInt32 parameterCount(HostedEffect& effect) { return effect.record()->numParams; }
