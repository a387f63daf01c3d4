// Finding an effect's parameters by the names it gives them.
#pragma once

#include <optional>
#include <string>

#include "host/HostedEffect.h"

// The index of the effect's parameter that requested means: its name (see
// parameterNameMatches), the caption the editor shows above its slider
// ("Pre Lo" for "Pre bass"), or its index as --list prints it, in that
// order. Empty when it means none.
std::optional<VstInt32> findParameter(HostedEffect& effect, const std::string& requested);

// The number of parameters the effect's record declares.
VstInt32 parameterCount(HostedEffect& effect);
