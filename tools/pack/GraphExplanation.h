// The evaluation chain and buffer assignment of a built description, as text for people.
#pragma once

#include <map>
#include <ostream>
#include <string>

#include "pack/DescriptionCheck.h"

// One line per node in the order the nodes run: name, type, line, audio inputs, output
// buffer, bindings and, for fx nodes, the preset and whether it was found (presets maps
// member names to that); then the free-buffer list the assignment left, the nodes
// that are built but never run, and the timing (explainTiming).
void explainGraph(const BuiltDescription& description, const std::map<std::string, bool>& presets,
                  std::ostream& out);
