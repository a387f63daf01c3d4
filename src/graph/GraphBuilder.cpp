#include "graph/GraphBuilder.h"

#include <tinyxml.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "frame/TraceLog.h"
#include "graph/AveragerAN.h"
#include "graph/BufferAssignment.h"
#include "graph/ControlReadLimit.h"
#include "graph/DescriptionText.h"
#include "graph/DividerAN.h"
#include "graph/EvaluationChain.h"
#include "graph/GraphTiming.h"
#include "graph/InputAudioNode.h"
#include "graph/MixerAudioNode.h"
#include "graph/ProcessorFactory.h"

namespace {

std::string quoted(const char* text) { return std::string("\"") + text + "\""; }

bool hasAudioOutput(const AudioNode& node) { return node.kind != AudioNode::kControl; }

// Mixers and fx nodes process their input's audio, and an averager measures it.
bool readsAudioInput(const AudioNode& node) {
  return hasAudioOutput(node) || dynamic_cast<const AveragerAN*>(&node) != nullptr;
}

// The working state of one build; discarded when the build ends.
class GraphBuilder {
 public:
  GraphBuilder(audioMasterCallback hostCallback, PresetLoader& presets, GraphBuildReport& report)
      : hostCallback(hostCallback), presets(presets), report(report) {}

  std::unique_ptr<AudioNode> build(const TiXmlElement& root);

 private:
  bool readTiming(const TiXmlElement& root);
  bool readElement(const TiXmlElement& element);
  std::unique_ptr<AudioNode> createNode(const TiXmlElement& element, const char* id);
  std::unique_ptr<AudioNode> createMixer(const TiXmlElement& element);
  std::unique_ptr<AudioNode> createControlNode(const TiXmlElement& element);
  std::unique_ptr<AudioNode> createFx(const TiXmlElement& element, const char* id);
  bool readBindings(const TiXmlElement& element, AudioNode& node);
  bool readBinding(const TiXmlElement& param, AudioNode& node);
  bool connectInput(const TiXmlElement& element, AudioNode& node);
  bool prepareAverager(const TiXmlElement& element, AudioNode& node);
  void registerNode(const TiXmlElement& element, const char* id, std::unique_ptr<AudioNode> node);

  bool finish(AudioNode& output);
  bool orderChain(AudioNode& output);
  bool assignBufferIndexes();
  bool checkControlReads();
  bool allocateAveragerHistories();
  void handOverNodes(InputAudioNode& head);

  TimeScale timeScale() const;
  AudioNode* resolve(const TiXmlElement& element, const char* attribute, const char* id);
  std::string describe(const AudioNode& node) const;
  bool refuse(const TiXmlElement& element, const std::string& reason);
  bool refuse(const AudioNode& node, const std::string& reason);
  bool refuse(const std::string& element, int line, const std::string& reason);

  audioMasterCallback hostCallback;
  PresetLoader& presets;
  GraphBuildReport& report;
  std::map<std::string, AudioNode*> ids;
  std::vector<AudioNode*> chain;
  // Owns every node but the head until the build succeeds.
  std::vector<std::unique_ptr<AudioNode>> created;
  AudioNode* previous = nullptr;
  // Samples of history that the graph's averagers will hold, and the averagers.
  std::int64_t averagerHistory = 0;
  std::vector<AveragerAN*> averagers;
  bool refused = false;
};

std::unique_ptr<AudioNode> GraphBuilder::build(const TiXmlElement& root) {
  if (!readTiming(root)) return nullptr;
  auto head = std::make_unique<InputAudioNode>();
  ids["in"] = head.get();
  report.origins[head.get()] = NodeOrigin{"in", "", 0};
  chain.push_back(head.get());
  previous = head.get();
  for (const TiXmlElement* element = root.FirstChildElement(); element;
       element = element->NextSiblingElement()) {
    if (!readElement(*element)) return nullptr;
  }
  traceLog("\n");
  if (!finish(*previous)) return nullptr;
  head->outBuf = BufferBank::kGraphInput;
  handOverNodes(*head);
  return head;
}

bool GraphBuilder::readTiming(const TiXmlElement& root) {
  const GraphTimingReading reading = readGraphTiming(root);
  if (!reading.refusal.empty()) return refuse(root, reading.refusal);
  report.timing = reading.timing;
  return true;
}

bool GraphBuilder::readElement(const TiXmlElement& element) {
  traceLog("node:%s %d,%d \n", element.Value(), 0, 1);
  const char* id = element.Attribute("id");
  std::unique_ptr<AudioNode> node = createNode(element, id);
  if (!node) return !refused;
  if (!readBindings(element, *node) || !connectInput(element, *node) || !prepareAverager(element, *node)) {
    return false;
  }
  registerNode(element, id, std::move(node));
  return true;
}

std::unique_ptr<AudioNode> GraphBuilder::createNode(const TiXmlElement& element, const char* id) {
  const char* elementName = element.Value();
  if (equalsIgnoringCase(elementName, "mixer")) return createMixer(element);
  if (equalsIgnoringCase(elementName, "processor")) return createControlNode(element);
  if (equalsIgnoringCase(elementName, "fx")) return createFx(element, id);
  return nullptr;
}

std::unique_ptr<AudioNode> GraphBuilder::createMixer(const TiXmlElement& element) {
  const char* input2Id = element.Attribute("input2");
  if (!input2Id) {
    refuse(element, "a mixer needs an \"input2\" attribute");
    return nullptr;
  }
  AudioNode* input2 = resolve(element, "input2", input2Id);
  if (!input2) return nullptr;
  if (!hasAudioOutput(*input2)) {
    refuse(element,
           "its input2 " + describe(*input2) + " is a divider or averager, which has no audio output");
    return nullptr;
  }
  auto mixer = std::make_unique<MixerAudioNode>();
  mixer->input2 = input2;
  return mixer;
}

std::unique_ptr<AudioNode> GraphBuilder::createControlNode(const TiXmlElement& element) {
  const char* type = element.Attribute("type");
  if (!type) {
    traceLog("no <type> for processor!\n");
    return nullptr;
  }
  traceLog("processor type:%s\n", type);
  if (equalsIgnoringCase(type, "divider")) return std::make_unique<DividerAN>();
  if (equalsIgnoringCase(type, "averager")) return std::make_unique<AveragerAN>();
  traceLog("Unknown type\n");
  return nullptr;
}

std::unique_ptr<AudioNode> GraphBuilder::createFx(const TiXmlElement& element, const char* id) {
  traceLog(" id:%s ", id ? id : "");
  if (!id) return nullptr;
  const char* type = element.Attribute("type");
  if (!type) {
    refuse(element, "an fx element with an id needs a \"type\" attribute");
    return nullptr;
  }
  const ProcessorType typeCode = processorTypeCode(type);
  auto fx = std::make_unique<AudioNodeFX>();
  fx->effect = createProcessor(id, typeCode, hostCallback, presets, timeScale());
  fx->fxType = typeCode;
  fx->name = id;
  return fx;
}

bool GraphBuilder::readBindings(const TiXmlElement& element, AudioNode& node) {
  for (const TiXmlNode* child = element.FirstChild("param"); child; child = child->NextSibling("param")) {
    const TiXmlElement* param = child->ToElement();
    if (param && !readBinding(*param, node)) return false;
  }
  return true;
}

bool GraphBuilder::readBinding(const TiXmlElement& param, AudioNode& node) {
  const char* set = param.Attribute("set");
  if (!set) {
    traceLog("no <set> attrib!\n");
    return true;
  }
  ParamBinding binding;
  binding.set = readInteger(set);
  const char* value = param.Attribute("value");
  const char* sourceId = param.Attribute("node");
  const char* get = param.Attribute("get");
  if (value) {
    binding.value = readFloat(value);
  } else if (sourceId && get) {
    binding.source = resolve(param, "node", sourceId);
    if (!binding.source) return false;
    binding.get = readInteger(get);
  } else {
    traceLog("Param error: No <node,get> or <value> attribute found!\n");
  }
  node.params.push_back(binding);
  return true;
}

bool GraphBuilder::connectInput(const TiXmlElement& element, AudioNode& node) {
  const char* inputId = element.Attribute("input");
  AudioNode* input = inputId ? resolve(element, "input", inputId) : previous;
  if (!input) return false;
  if (readsAudioInput(node) && !hasAudioOutput(*input)) {
    return refuse(element,
                  "its input " + describe(*input) + " is a divider or averager, which has no audio output");
  }
  node.input = input;
  return true;
}

// Every averager gets its history once the description has been accepted, so that no block
// allocates: a constant window exactly, one read from another node the longest it may become.
bool GraphBuilder::prepareAverager(const TiXmlElement& element, AudioNode& node) {
  auto* averager = dynamic_cast<AveragerAN*>(&node);
  if (!averager) return true;
  averager->setTimeScale(timeScale());
  const std::optional<float> constant = averager->constantWindow();
  if (constant && !AveragerAN::isValidWindow(*constant)) {
    return refuse(element, "the averager window " + numberText(*constant) + " is not between 1 and " +
                               std::to_string(AveragerAN::kMaxWindowLength) + " samples");
  }
  averagerHistory += averager->historyNeeded();
  if (averagerHistory > kMaxAveragerHistory) {
    return refuse(element, "the averagers' histories would exceed " + std::to_string(kMaxAveragerHistory) +
                               " samples (a window read from another node counts as " +
                               std::to_string(timeScale().storageFor(AveragerAN::kMaxFollowedWindow)) + ")");
  }
  averagers.push_back(averager);
  return true;
}

bool GraphBuilder::allocateAveragerHistories() {
  for (AveragerAN* averager : averagers) {
    if (!averager->allocateHistory()) {
      return refuse(*averager, "the history of " + std::to_string(averager->historyNeeded()) +
                                   " samples cannot be allocated");
    }
  }
  return true;
}

void GraphBuilder::registerNode(const TiXmlElement& element, const char* id,
                                std::unique_ptr<AudioNode> node) {
  previous = node.get();
  if (id) ids[id] = node.get();
  report.origins[node.get()] = NodeOrigin{id ? id : "", element.Value(), element.Row()};
  created.push_back(std::move(node));
}

bool GraphBuilder::finish(AudioNode& output) {
  if (!hasAudioOutput(output)) {
    return refuse(output, "a divider or averager cannot be the output node (the last node declared)");
  }
  output.outBuf = BufferBank::kGraphOutput;
  if (!orderChain(output) || !assignBufferIndexes() || !checkControlReads() || !allocateAveragerHistories()) {
    return false;
  }
  output.outBuf = BufferBank::kGraphOutput;
  return true;
}

bool GraphBuilder::orderChain(AudioNode& output) {
  const AudioNode* cycle = orderEvaluationChain(output, chain);
  return !cycle || refuse(*cycle, "the node needs its own output: its inputs and bindings form a cycle");
}

bool GraphBuilder::assignBufferIndexes() {
  const BufferAssignment assignment = assignBuffers(chain);
  report.freeBuffers.assign(assignment.freeBuffers.begin(), assignment.freeBuffers.end());
  switch (assignment.outcome) {
    case BufferAssignment::kAssigned:
      return true;
    case BufferAssignment::kPoolExhausted:
      return refuse(*assignment.node,
                    "more than " + std::to_string(BufferBank::kPoolSize) + " buffers would be live at once");
    case BufferAssignment::kNoAudioConsumer:
      return refuse(*assignment.node,
                    "the node is read only through bindings; no node takes its audio output as input");
  }
  return false;
}

bool GraphBuilder::checkControlReads() {
  const ControlReadExcess excess = findExcessiveControlReads(chain);
  switch (excess.kind) {
    case ControlReadExcess::kNone:
      return true;
    case ControlReadExcess::kTooManyReads:
      return refuse(*excess.node, "with its parameter reads one block would make more than " +
                                      std::to_string(kMaxControlReadsPerBlock) +
                                      " value reads through bindings (too slow for real time)");
    case ControlReadExcess::kTooDeep:
      return refuse(*excess.node, "reading its value would nest more than " +
                                      std::to_string(kMaxControlReadDepth) + " bindings deep");
  }
  return false;
}

void GraphBuilder::handOverNodes(InputAudioNode& head) {
  for (std::unique_ptr<AudioNode>& node : created) {
    if (!node->ordered) head.keepUnplaced(std::move(node));
  }
  // What remains is in the chain, where each node is owned by its predecessor's next.
  for (std::unique_ptr<AudioNode>& node : created) static_cast<void>(node.release());
  for (std::size_t position = 1; position < chain.size(); ++position)
    chain[position - 1]->next.reset(chain[position]);
}

TimeScale GraphBuilder::timeScale() const {
  return TimeScale(report.timing.oversampling, report.timing.referenceRate);
}

AudioNode* GraphBuilder::resolve(const TiXmlElement& element, const char* attribute, const char* id) {
  const auto found = ids.find(id);
  if (found != ids.end()) return found->second;
  refuse(element, std::string("its ") + attribute + " " + quoted(id) + " names no node declared before it");
  return nullptr;
}

std::string GraphBuilder::describe(const AudioNode& node) const {
  const NodeOrigin& origin = report.origins.at(&node);
  if (origin.id.empty()) return "<" + origin.element + "> of line " + std::to_string(origin.line);
  return quoted(origin.id.c_str());
}

bool GraphBuilder::refuse(const TiXmlElement& element, const std::string& reason) {
  return refuse(element.Value(), element.Row(), reason);
}

bool GraphBuilder::refuse(const AudioNode& node, const std::string& reason) {
  const NodeOrigin& origin = report.origins.at(&node);
  return refuse(origin.element, origin.line, reason);
}

bool GraphBuilder::refuse(const std::string& element, int line, const std::string& reason) {
  traceLog("description refused: <%s> at line %d: %s\n", element.c_str(), line, reason.c_str());
  report.refusal = reason;
  report.refusalElement = element;
  report.refusalLine = line;
  refused = true;
  return false;
}

}  // namespace

std::unique_ptr<AudioNode> buildGraph(const TiXmlElement& root, audioMasterCallback hostCallback,
                                      PresetLoader& presets) {
  GraphBuildReport report;
  return buildGraph(root, hostCallback, presets, report);
}

std::unique_ptr<AudioNode> buildGraph(const TiXmlElement& root, audioMasterCallback hostCallback,
                                      PresetLoader& presets, GraphBuildReport& report) {
  report = GraphBuildReport{};
  std::unique_ptr<AudioNode> head;
  try {
    head = GraphBuilder(hostCallback, presets, report).build(root);
  } catch (const std::bad_alloc&) {
    traceLog("description refused: <%s> at line %d: out of memory\n", root.Value(), root.Row());
    report.refusal = "out of memory";
    report.refusalElement = root.Value();
    report.refusalLine = root.Row();
  }
  if (!head) {
    report.origins.clear();
    report.timing = GraphTiming{};
  }
  return head;
}
