// The graph descriptions of the resource archive: which members they are, and building
// one. Both run on loading paths with an ArchiveSession open.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frame/VstInterface.h"
#include "graph/AudioNode.h"
#include "graph/GraphTiming.h"

// The names of the members that are graph descriptions (names containing ".xml"), in
// byte order: the order in which "Preset" selects them. Empty without an open archive.
std::vector<std::string> listArchiveDescriptions();

// A description built, or why it could not be.
struct DescriptionBuild {
  std::unique_ptr<AudioNode> head;
  // The rate its root asks the graph to run at.
  GraphTiming timing;
  // Empty when head was built.
  std::string refusal;
};

// Reads the member name, parses it and builds its <torvix> root, with processors created
// with hostCallback and given the archive's presets. On failure head is null and refusal
// says why: the member cannot be read, an XML error with its line and column, no
// <torvix> root, or the builder's refusal with the element and its line.
DescriptionBuild buildArchiveDescription(const std::string& name, audioMasterCallback hostCallback);
