// Builds a graph from description text the way the engine does, for tests.
#pragma once

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

#include "TablePresetLoader.h"
#include "graph/GraphBuilder.h"
#include "graph/InputAudioNode.h"
#include "support/OneChannelHost.h"

// Parses text, finds its <torvix> root and builds it with the one-channel host. Keeps the
// document, the report and the graph for inspection.
class DescriptionGraph {
 public:
  explicit DescriptionGraph(const std::string& text) : DescriptionGraph(text, defaultPresets()) {}

  DescriptionGraph(const std::string& text, TablePresetLoader& presets) {
    document.Parse(text.c_str());
    EXPECT_FALSE(document.Error()) << document.ErrorDesc();
    const TiXmlElement* root = document.FirstChildElement("torvix");
    if (!root) {
      ADD_FAILURE() << "no <torvix> root in the test description";
      return;
    }
    head = buildGraph(*root, oneChannelHost, presets, report);
  }

  // The evaluation chain, head first.
  std::vector<AudioNode*> chain() const {
    std::vector<AudioNode*> nodes;
    for (AudioNode* node = head.get(); node; node = node->next.get()) nodes.push_back(node);
    return nodes;
  }

  // The ids of the chain's nodes, head ("in") first; "<element>" for a node without id.
  std::vector<std::string> chainIds() const {
    std::vector<std::string> ids;
    for (const AudioNode* node : chain()) ids.push_back(idOf(*node));
    return ids;
  }

  std::string idOf(const AudioNode& node) const {
    const NodeOrigin& origin = report.origins.at(&node);
    return origin.id.empty() ? "<" + origin.element + ">" : origin.id;
  }

  // The node of the built graph (in the chain or not) that was declared last under id.
  AudioNode* node(const std::string& id) const {
    AudioNode* found = nullptr;
    int foundLine = -1;
    for (const auto& [node, origin] : report.origins) {
      if (origin.id == id && origin.line > foundLine) {
        found = const_cast<AudioNode*>(node);
        foundLine = origin.line;
      }
    }
    return found;
  }

  TiXmlDocument document;
  GraphBuildReport report;
  std::unique_ptr<AudioNode> head;

 private:
  static TablePresetLoader& defaultPresets() {
    static TablePresetLoader presets;
    return presets;
  }
};
