// torvix-pack --explain and --dot: showing designers the graph they wrote.
#pragma once

#include <filesystem>
#include <ostream>

enum class ExplainFormat { kText, kDot };

// Builds the description in file with the presets among the sources of its folder, and
// writes its evaluation chain and buffer assignment (kText) or its Graphviz DOT graph
// (kDot). Throws PackError for a file that cannot be read or built.
void explainDescriptionFile(const std::filesystem::path& file, ExplainFormat format, std::ostream& out);
