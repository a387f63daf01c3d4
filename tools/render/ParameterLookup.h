// Finding an effect's parameters by the names it gives them.
#pragma once

#include <optional>
#include <string>

#include "host/HostedEffect.h"

// The index of the effect's parameter whose name matches requested (see
// parameterNameMatches); empty when it has none of that name.
std::optional<VstInt32> findParameter(HostedEffect& effect, const std::string& requested);

// The number of parameters the effect's record declares.
VstInt32 parameterCount(HostedEffect& effect);
