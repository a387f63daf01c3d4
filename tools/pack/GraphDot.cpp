#include "pack/GraphDot.h"

#include <map>
#include <vector>

#include "graph/InputAudioNode.h"
#include "graph/MixerAudioNode.h"
#include "pack/GraphNodeNames.h"

namespace {

// A DOT string; line breaks become the escape that DOT labels break lines at.
std::string quoted(const std::string& text) {
  std::string escaped = "\"";
  for (char c : text) {
    if (c == '\n') {
      escaped += "\\n";
      continue;
    }
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped + "\"";
}

class DotWriter {
 public:
  DotWriter(const BuiltDescription& description, std::ostream& out) : report(description.report), out(out) {
    for (const AudioNode* node = description.head.get(); node; node = node->next.get()) add(*node, true);
    for (const auto& node : static_cast<const InputAudioNode&>(*description.head).unplacedNodes())
      add(*node, false);
  }

  void write(const std::string& title) {
    out << "digraph " << quoted(title) << " {\n  rankdir=LR;\n  node [shape=box];\n";
    for (const auto& [node, placed] : nodes) writeNode(*node, placed);
    for (const auto& [node, placed] : nodes) writeEdges(*node);
    out << "}\n";
  }

 private:
  void add(const AudioNode& node, bool placed) {
    ids[&node] = "n" + std::to_string(ids.size());
    nodes.emplace_back(&node, placed);
  }

  void writeNode(const AudioNode& node, bool placed) {
    std::string label = nodeName(node, report) + "\n" + nodeType(node);
    if (node.outBuf != AudioNode::kNoBuffer && placed) label += "\nbuffer " + std::to_string(node.outBuf);
    out << "  " << ids.at(&node) << " [label=" << quoted(label);
    if (node.kind == AudioNode::kControl) out << ", shape=ellipse";
    if (!placed) out << ", style=dotted, color=gray, fontcolor=gray";
    out << "];\n";
  }

  void writeEdges(const AudioNode& node) {
    if (node.input) out << "  " << ids.at(node.input) << " -> " << ids.at(&node) << ";\n";
    if (node.kind == AudioNode::kMixer) {
      out << "  " << ids.at(static_cast<const MixerAudioNode&>(node).input2) << " -> " << ids.at(&node)
          << " [label=\"input2\"];\n";
    }
    for (const ParamBinding& binding : node.params) {
      if (!binding.source) continue;
      out << "  " << ids.at(binding.source) << " -> " << ids.at(&node) << " [style=dashed, label="
          << quoted(std::to_string(binding.get) + " -> " + std::to_string(binding.set)) << "];\n";
    }
  }

  const GraphBuildReport& report;
  std::ostream& out;
  std::map<const AudioNode*, std::string> ids;
  std::vector<std::pair<const AudioNode*, bool>> nodes;
};

}  // namespace

void writeGraphDot(const BuiltDescription& description, const std::string& title, std::ostream& out) {
  DotWriter(description, out).write(title);
}
