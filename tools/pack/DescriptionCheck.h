// Checking graph descriptions with the plug-in's own graph builder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graph/AudioNode.h"
#include "graph/GraphBuildReport.h"
#include "graph/PresetLoader.h"
#include "pack/ArchiveEntry.h"

// A graph as the plug-in would build it from a description, with the build's report.
struct BuiltDescription {
  std::unique_ptr<AudioNode> head;
  GraphBuildReport report;
};

// Parses text, the description read from source, and builds its <torvix> root as the
// engine does. Throws PackError naming source and line for an XML error, a missing root
// element, or a description that the builder refuses.
BuiltDescription buildDescription(const std::string& text, const std::string& source, PresetLoader& presets);

// Builds every description among entries (members whose name ends in ".xml") with the
// presets among entries; throws PackError for the first that fails.
void checkDescriptions(const std::vector<ArchiveEntry>& entries);
