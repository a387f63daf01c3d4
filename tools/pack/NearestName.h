// Suggesting the name a typing mistake was meant to be.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The candidate closest to name by edits (a letter inserted, removed, changed, or two
// neighbours swapped), when it takes at most two; the first such on a tie.
std::optional<std::string> nearestName(const std::string& name, const std::vector<std::string>& candidates);
