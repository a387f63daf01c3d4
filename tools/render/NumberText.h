// Numbers read from command-line text.
#pragma once

#include <optional>
#include <string>

// The whole text as a finite float ("0.7", "-1e-3"); empty otherwise.
std::optional<float> floatFromText(const std::string& text);

// The whole text as a decimal integer without sign or spaces; empty
// otherwise, also when it does not fit an int.
std::optional<int> indexFromText(const std::string& text);
