// Orders the nodes of a graph so that every node runs after what it reads.
#pragma once

#include <vector>

#include "graph/AudioNode.h"

// Appends to chain, depth-first and post-order from output, every node that output reaches
// through binding sources and inputs and that is not yet ordered: first a node's binding
// sources in binding order, then input, then a mixer's input2, then the node itself, which
// is marked ordered. Traces "node:%s, out:%d\n" for each node appended. Works with an
// explicit stack, so a chain of any length is ordered without deep recursion. When a node
// turns out to need itself, returns that node and leaves the order unfinished; otherwise
// returns nullptr.
AudioNode* orderEvaluationChain(AudioNode& output, std::vector<AudioNode*>& chain);
