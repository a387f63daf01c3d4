#include "pack/DescriptionLint.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

#include "graph/AveragerAN.h"
#include "graph/DescriptionText.h"
#include "pack/AsciiCase.h"
#include "pack/ProcessorCatalogue.h"

namespace {

enum class NodeClass { kAudioOnly, kFx, kMixer, kDivider, kAverager };

struct DeclaredNode {
  NodeClass kind = NodeClass::kAudioOnly;
  // The effect of an fx node; nullptr for one of no known type.
  const ProcessorInfo* processor = nullptr;
};

using AttributeNames = std::set<std::string>;

const AttributeNames kFxAttributes{"id", "type", "input"};
const AttributeNames kMixerAttributes{"id", "input", "input2"};
const AttributeNames kProcessorAttributes{"id", "type", "input"};
const AttributeNames kParamAttributes{"set", "value", "node", "get"};

bool onlyBlanksFrom(const char* end) {
  while (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n') ++end;
  return *end == '\0';
}

// Whether the builder's integer reading takes the whole text.
bool readsAsWritten(const char* integerText) {
  char* end = nullptr;
  std::strtoll(integerText, &end, 10);
  return end != integerText && onlyBlanksFrom(end);
}

bool readsAsNumber(const char* numberText) {
  char* end = nullptr;
  std::strtod(numberText, &end);
  return end != numberText && onlyBlanksFrom(end);
}

class DescriptionLinter {
 public:
  DescriptionLinter(const std::string& source, PackWarnings& warnings) : source(source), warnings(warnings) {
    ids["in"] = DeclaredNode{};
  }

  void lint(const TiXmlElement& root) {
    for (const TiXmlElement* element = root.FirstChildElement(); element;
         element = element->NextSiblingElement())
      nodeElement(*element);
  }

 private:
  void nodeElement(const TiXmlElement& element) {
    const std::string name = asciiLowerCase(element.Value());
    std::optional<DeclaredNode> declared;
    if (name == "fx") {
      declared = fx(element);
    } else if (name == "mixer") {
      checkAttributes(element, kMixerAttributes);
      declared = DeclaredNode{NodeClass::kMixer, nullptr};
    } else if (name == "processor") {
      declared = controlNode(element);
    } else {
      warn(element, "<" + std::string(element.Value()) +
                        "> is not a node element (fx, mixer or processor): it declares nothing");
      return;
    }
    if (declared) params(element, *declared);
    if (declared && element.Attribute("id")) ids[element.Attribute("id")] = *declared;
  }

  std::optional<DeclaredNode> fx(const TiXmlElement& element) {
    checkAttributes(element, kFxAttributes);
    if (!element.Attribute("id")) {
      warn(element, "an <fx> without id declares nothing");
      return std::nullopt;
    }
    const char* type = element.Attribute("type");
    if (!type) return std::nullopt;
    const ProcessorInfo* processor = findProcessorType(type);
    if (!processor) {
      warn(element, "unknown fx type \"" + std::string(type) + "\" (known: " + knownProcessorTypes() +
                        "): the node has no effect and outputs silence");
    }
    return DeclaredNode{NodeClass::kFx, processor};
  }

  std::optional<DeclaredNode> controlNode(const TiXmlElement& element) {
    checkAttributes(element, kProcessorAttributes);
    const char* type = element.Attribute("type");
    if (type && equalIgnoringCase(type, "divider")) return DeclaredNode{NodeClass::kDivider, nullptr};
    if (type && equalIgnoringCase(type, "averager")) return DeclaredNode{NodeClass::kAverager, nullptr};
    warn(element, type ? "unknown processor type \"" + std::string(type) +
                             "\" (known: divider, averager): it declares nothing"
                       : "a <processor> without type declares nothing");
    return std::nullopt;
  }

  void params(const TiXmlElement& element, const DeclaredNode& node) {
    std::map<VstInt32, int> setOnLine;
    for (const TiXmlElement* child = element.FirstChildElement(); child;
         child = child->NextSiblingElement()) {
      if (std::string(child->Value()) != "param") {
        warn(*child, "<" + std::string(child->Value()) + "> inside <" + element.Value() +
                         "> is not read (parameters are <param> elements)");
        continue;
      }
      const std::optional<VstInt32> set = param(*child, element.Value(), node);
      if (!set) continue;
      const auto [earlier, isFirst] = setOnLine.emplace(*set, child->Row());
      if (!isFirst) {
        warn(*child, "parameter " + std::to_string(*set) + " is already given on line " +
                         std::to_string(earlier->second) + ": this param is never read");
      }
    }
  }

  // Checks one param; the index it binds, if it binds one.
  std::optional<VstInt32> param(const TiXmlElement& param, const std::string& owner,
                                const DeclaredNode& node) {
    checkAttributes(param, kParamAttributes);
    const char* set = param.Attribute("set");
    if (!set) {
      warn(param, "a <param> without set is ignored");
      return std::nullopt;
    }
    checkInteger(param, "set", set);
    const VstInt32 index = readInteger(set);
    const char* value = param.Attribute("value");
    const char* sourceId = param.Attribute("node");
    const char* get = param.Attribute("get");
    if (value) {
      checkNumber(param, value);
      if (sourceId || get) warn(param, "value is given, so node and get are not read");
      if (node.kind == NodeClass::kFx)
        warn(param,
             "nothing reads a value inside <" + owner + ">: an effect's settings come from its preset");
    } else if (sourceId && get) {
      checkInteger(param, "get", get);
      checkOffered(param, sourceId, readInteger(get));
    } else {
      warn(param, "parameter " + std::to_string(index) +
                      " is bound to 1: a param needs value, or node together with get");
    }
    checkRead(param, node, index);
    if (node.kind == NodeClass::kAverager && index == AveragerAN::kShapeParameter) checkShape(param, value);
    return index;
  }

  // An averager's shape is a constant, 1 (flat) or 2 (triangle), taken when the graph is built.
  void checkShape(const TiXmlElement& param, const char* value) {
    if (!value) {
      warn(param,
           "an averager's shape (parameter 1) is read as a constant when the graph is built: "
           "this binding keeps the flat window");
    } else if (const float shape = readFloat(value); shape != 1.0f && shape != AveragerAN::kTriangle) {
      warn(param, "an averager's shape (parameter 1) is 1 (flat) or 2 (triangle): value=\"" +
                      std::string(value) + "\" keeps the flat window");
    }
  }

  void checkAttributes(const TiXmlElement& element, const AttributeNames& known) {
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute;
         attribute = attribute->Next()) {
      const std::string name = attribute->Name();
      if (known.contains(name)) continue;
      std::string hint;
      for (const std::string& candidate : known)
        if (equalIgnoringCase(candidate, name))
          hint = " (attribute names are case-sensitive: " + candidate + ")";
      warn(*attribute, "unknown attribute " + name + " on <" + element.Value() + "> is not read" + hint);
    }
  }

  void checkInteger(const TiXmlElement& param, const char* attribute, const char* text) {
    if (!readsAsWritten(text)) {
      warn(param, std::string(attribute) + "=\"" + text + "\" is not a whole number: it reads as " +
                      std::to_string(readInteger(text)));
    }
  }

  void checkNumber(const TiXmlElement& param, const char* text) {
    if (!readsAsNumber(text)) {
      warn(param, "value=\"" + std::string(text) + "\" is not a number: it reads as " +
                      std::to_string(readFloat(text)));
    } else if (!std::isfinite(readFloat(text))) {
      warn(param, "value=\"" + std::string(text) + "\" is not a finite 32-bit float");
    }
  }

  void checkOffered(const TiXmlElement& param, const char* sourceId, VstInt32 get) {
    const auto found = ids.find(sourceId);
    if (found == ids.end()) return;  // The builder refuses the description.
    const DeclaredNode& source = found->second;
    const std::string quotedId = "\"" + std::string(sourceId) + "\"";
    switch (source.kind) {
      case NodeClass::kAverager:
        if (get != 0)
          warn(param, "an averager offers its level as value 0: value " + std::to_string(get) + " of " +
                          quotedId + " is always 1");
        break;
      case NodeClass::kFx:
        if (source.processor && (get < 0 || get >= source.processor->numParams())) {
          warn(param, quotedId + " (" + source.processor->typeName + ") has parameters 0 to " +
                          std::to_string(source.processor->numParams() - 1) + ": value " +
                          std::to_string(get) + " reads 0");
        }
        break;
      case NodeClass::kDivider:
        break;
      case NodeClass::kMixer:
      case NodeClass::kAudioOnly:
        warn(param, quotedId + " offers no values: this reads 0");
        break;
    }
  }

  void checkRead(const TiXmlElement& param, const DeclaredNode& node, VstInt32 index) {
    if (node.kind == NodeClass::kMixer && index != 0 && index != 1)
      warn(param,
           "a mixer reads parameters 0 and 1 only: parameter " + std::to_string(index) + " is never read");
    if (node.kind == NodeClass::kAverager && index != 0 && index != AveragerAN::kShapeParameter)
      warn(param, "an averager reads parameters 0 and 1 only: parameter " + std::to_string(index) +
                      " is never read");
  }

  void warn(const TiXmlBase& at, const std::string& message) { warnings.add(source, at.Row(), message); }

  const std::string& source;
  PackWarnings& warnings;
  std::map<std::string, DeclaredNode> ids;
};

}  // namespace

void lintDescription(const TiXmlElement& root, const std::string& source, PackWarnings& warnings) {
  DescriptionLinter(source, warnings).lint(root);
}
