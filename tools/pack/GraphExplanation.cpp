#include "pack/GraphExplanation.h"

#include <iomanip>
#include <sstream>
#include <vector>

#include "graph/InputAudioNode.h"
#include "graph/MixerAudioNode.h"
#include "pack/GraphNodeNames.h"
#include "pack/TimingExplanation.h"

namespace {

std::string inputsOf(const AudioNode& node, const GraphBuildReport& report) {
  std::string inputs = node.input ? nodeName(*node.input, report) : "-";
  if (node.kind == AudioNode::kMixer)
    inputs += ", " + nodeName(*static_cast<const MixerAudioNode&>(node).input2, report);
  return inputs;
}

std::string bufferOf(const AudioNode& node) {
  if (node.outBuf == AudioNode::kNoBuffer) return "-";
  if (node.outBuf == BufferBank::kGraphInput) return "0 (graph input)";
  if (node.outBuf == BufferBank::kGraphOutput) return "1 (graph output)";
  return std::to_string(node.outBuf);
}

std::string presetOf(const AudioNode& node, const std::map<std::string, bool>& presets) {
  if (!node.effect) return "";
  const std::string member = node.name + ".fxp";
  const auto found = presets.find(member);
  const bool present = found != presets.end() && found->second;
  return "preset " + member + (present ? "" : " (missing: constructor values)");
}

void explainNode(const AudioNode& node, const GraphBuildReport& report,
                 const std::map<std::string, bool>& presets, std::ostream& out) {
  const NodeOrigin& origin = report.origins.at(&node);
  std::ostringstream line;
  line << "  " << std::left << std::setw(12) << nodeName(node, report) << std::setw(10) << nodeType(node)
       << std::setw(9) << (origin.line ? "line " + std::to_string(origin.line) : "")
       << "in: " << std::setw(16) << inputsOf(node, report) << "out: " << std::setw(18) << bufferOf(node);
  std::string separator = "params: ";
  for (const ParamBinding& binding : node.params) {
    line << separator << bindingText(binding, report);
    separator = ", ";
  }
  line << presetOf(node, presets);
  std::string text = line.str();
  text.erase(text.find_last_not_of(' ') + 1);
  out << text << "\n";
}

// "5-49, 2, 3": runs of three or more consecutive indexes written as ranges.
std::string freeListText(const std::vector<VstInt32>& freeBuffers) {
  std::string text;
  for (std::size_t start = 0; start < freeBuffers.size();) {
    std::size_t end = start;
    while (end + 1 < freeBuffers.size() && freeBuffers[end + 1] == freeBuffers[end] + 1) ++end;
    if (end < start + 2) end = start;
    if (!text.empty()) text += ", ";
    text += std::to_string(freeBuffers[start]);
    if (end > start) text += "-" + std::to_string(freeBuffers[end]);
    start = end + 1;
  }
  return text.empty() ? "none" : text;
}

}  // namespace

void explainGraph(const BuiltDescription& description, const std::map<std::string, bool>& presets,
                  std::ostream& out) {
  const GraphBuildReport& report = description.report;
  out << "evaluation chain, in the order the nodes run:\n";
  for (const AudioNode* node = description.head.get(); node; node = node->next.get()) {
    explainNode(*node, report, presets, out);
  }
  out << "free buffers after the assignment: " << freeListText(report.freeBuffers) << "\n";
  const auto& unplaced = static_cast<const InputAudioNode&>(*description.head).unplacedNodes();
  if (!unplaced.empty()) {
    out << "built but never run (the output does not reach them):\n";
    for (const auto& node : unplaced) explainNode(*node, report, presets, out);
  }
  explainTiming(description, out);
}
