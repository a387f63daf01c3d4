// Builds a processing graph from its XML description.
#pragma once

#include <cstdint>
#include <memory>

#include "graph/AudioNode.h"
#include "graph/AveragerAN.h"
#include "graph/GraphBuildReport.h"
#include "graph/PresetLoader.h"

class TiXmlElement;

// The samples of history that the averagers of one graph may hold: 256 MiB, four of the
// longest constant windows. A window read from another node counts as
// AveragerAN::kMaxFollowedWindow, the history it gets; every window as stretched by the
// description's time scale (its root's oversampling and rate).
constexpr std::int64_t kMaxAveragerHistory = std::int64_t{4} * AveragerAN::kMaxWindowLength;

// build: creates the nodes declared by the children of root (the <torvix> element) with
// their processors (created with hostCallback and the time scale of the root's oversampling
// and rate, presets through presets) and bindings,
// orders them into the evaluation chain from the output node (the last node declared),
// assigns their buffers, and returns the head of the chain: the built-in input node,
// which owns every node built. A description that cannot run soundly is refused as a
// whole: the result is nullptr, nothing built is kept, and a trace names the element and
// its line. Progress goes to traceLog.
std::unique_ptr<AudioNode> buildGraph(const TiXmlElement& root, audioMasterCallback hostCallback,
                                      PresetLoader& presets);

// The same, also describing the outcome in report, with the timing the root asks for
// (readGraphTiming; a root whose timing attributes cannot be read is refused).
std::unique_ptr<AudioNode> buildGraph(const TiXmlElement& root, audioMasterCallback hostCallback,
                                      PresetLoader& presets, GraphBuildReport& report);
