// Checking graph descriptions with the plug-in's own graph builder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graph/AudioNode.h"
#include "graph/GraphBuildReport.h"
#include "graph/PresetLoader.h"
#include "pack/ArchiveEntry.h"
#include "pack/PackWarnings.h"

class TiXmlDocument;
class TiXmlElement;

// A graph as the plug-in would build it from a description, with the build's report.
struct BuiltDescription {
  std::unique_ptr<AudioNode> head;
  GraphBuildReport report;
};

// Parses text, the description read from source, into document and returns its <torvix>
// root. Throws PackError for an XML error, naming source, line and column of the
// construct that holds it, and for a missing root element.
const TiXmlElement& parseDescription(TiXmlDocument& document, const std::string& text,
                                     const std::string& source);

// Parses text and builds its <torvix> root as the engine does. Throws PackError as
// parseDescription does, and naming source and line for a description that the builder
// refuses.
BuiltDescription buildDescription(const std::string& text, const std::string& source, PresetLoader& presets);

// Builds every description among entries (members whose name ends in ".xml") with the
// presets among entries; throws PackError for the first that fails. Returns warnings for
// what would pack but is likely a mistake: what lintDescription, checkPresetValues,
// checkFollowedWindows and checkSampleCounts find, an fx node without a preset or with
// one written for another processor, a node that never runs, and a preset that no fx
// node of any description uses (the input filters' bass and lo_mid are used by the
// engine).
PackWarnings checkDescriptions(const std::vector<ArchiveEntry>& entries);
