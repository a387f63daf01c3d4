// Averager windows that follow another node's value and can outgrow their history.
#pragma once

#include <string>

#include "pack/DescriptionCheck.h"
#include "pack/PackWarnings.h"

// Adds a warning naming source and the averager's line for each averager of built whose
// window follows a value that can exceed AveragerAN::kMaxFollowedWindow samples, the history
// it gets: a constant passed on by dividers, an effect's setting, or a level (which has no
// bound). Such a window is held to the bound.
void checkFollowedWindows(const BuiltDescription& built, const std::string& source, PackWarnings& warnings);
