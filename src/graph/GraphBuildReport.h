// What a graph build tells tools about the graph it built, or why it refused to.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "frame/VstInterface.h"
#include "graph/GraphTiming.h"

class AudioNode;

// Where a node of a built graph was declared.
struct NodeOrigin {
  // The id it was declared under ("in" for the built-in input node); empty when none.
  std::string id;
  // The element name as written; empty for the built-in input node.
  std::string element;
  // Line of the element in the description; 0 for the built-in input node.
  int line = 0;
};

struct GraphBuildReport {
  bool refused() const { return !refusal.empty(); }

  // Why the description was refused; empty when it was built.
  std::string refusal;
  // The element the refusal names, and its line.
  std::string refusalElement;
  int refusalLine = 0;
  // The rate the graph runs at, read from the root; the defaults when refused.
  GraphTiming timing;
  // Every node of the built graph, the chain's and the unreached ones; empty when refused.
  std::map<const AudioNode*, NodeOrigin> origins;
  // The free-buffer list at the end of the buffer assignment.
  std::vector<VstInt32> freeBuffers;
};
