// Matching parameter names as users type them.
#pragma once

#include <string>

// The name folded for comparison: ASCII lower case, with spaces and
// underscores written as hyphens, so "Pre gain", "pre-gain" and "PRE_GAIN"
// all become "pre-gain".
std::string foldedParameterName(const std::string& name);

// True when the user's name means the module's parameter name.
bool parameterNameMatches(const std::string& moduleName, const std::string& requested);
