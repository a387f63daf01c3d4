// Preset values that their processor cannot use as written.
#pragma once

#include <string>

#include "pack/PackWarnings.h"
#include "pack/PresetText.h"

// Adds a warning naming source and the value's line for each value that its processor
// changes or that breaks its output: an equaliser's K outside 0..1 or more than 20
// passes (or none), a negative time, a negative clip level, and a gain so large that a
// full-scale input leaves the float range. Gains above 1 are legitimate and pass.
void checkPresetValues(const PresetText& preset, const std::string& source, PackWarnings& warnings);
