// What the graph builder accepts in a description but reads other than a designer meant.
#pragma once

#include <string>

#include "pack/PackWarnings.h"

class TiXmlElement;

// Adds a warning naming source and line for each thing in root (the <torvix> element)
// that the builder skips or reads differently from how it is written: elements that
// declare nothing, unknown attributes and types, numbers that do not read as written
// (set="one" reads 0), params that bind 1 or that an earlier param of the same index
// hides, parameters that the node never reads and values that the source node does not
// offer.
void lintDescription(const TiXmlElement& root, const std::string& source, PackWarnings& warnings);
