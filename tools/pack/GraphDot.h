// A built description as a Graphviz DOT graph.
#pragma once

#include <ostream>
#include <string>

#include "pack/DescriptionCheck.h"

// Boxes for fx nodes and mixers, ellipses for control nodes, each labelled with its name,
// type and output buffer; solid arrows for audio inputs, dashed arrows labelled
// "get -> set" for bindings; nodes that never run are dotted and grey. title names the
// graph.
void writeGraphDot(const BuiltDescription& description, const std::string& title, std::ostream& out);
