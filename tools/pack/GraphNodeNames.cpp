#include "pack/GraphNodeNames.h"

#include <sstream>

#include "graph/AveragerAN.h"
#include "graph/DividerAN.h"
#include "graph/InputAudioNode.h"
#include "graph/ProcessorFactory.h"

std::string nodeName(const AudioNode& node, const GraphBuildReport& report) {
  const NodeOrigin& origin = report.origins.at(&node);
  if (!origin.id.empty()) return origin.id;
  return origin.element + "@" + std::to_string(origin.line);
}

std::string nodeType(const AudioNode& node) {
  if (dynamic_cast<const InputAudioNode*>(&node)) return "input";
  if (dynamic_cast<const DividerAN*>(&node)) return "divider";
  if (dynamic_cast<const AveragerAN*>(&node)) return "averager";
  if (node.kind == AudioNode::kMixer) return "mixer";
  const char* processor = processorTypeName(static_cast<ProcessorType>(node.fxType));
  return std::string("fx ") + (processor ? processor : "none");
}

std::string bindingText(const ParamBinding& binding, const GraphBuildReport& report) {
  std::ostringstream text;
  text << binding.set;
  if (binding.source) {
    text << " <- " << nodeName(*binding.source, report) << "[" << binding.get << "]";
  } else {
    text << " = " << binding.value;
  }
  return text.str();
}
