// How torvix-pack names the nodes and bindings of a built graph for people.
#pragma once

#include <string>

#include "graph/AudioNode.h"
#include "graph/GraphBuildReport.h"

// The node's id; for a node declared without one, its element and line ("mixer@9").
std::string nodeName(const AudioNode& node, const GraphBuildReport& report);

// "input", "fx eq" (or "fx none" without processor), "mixer", "divider", "averager".
std::string nodeType(const AudioNode& node);

// "1 = 0.5" for a constant, "0 <- ratio[2]" for a value read from another node.
std::string bindingText(const ParamBinding& binding, const GraphBuildReport& report);
