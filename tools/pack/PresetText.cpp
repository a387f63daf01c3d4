#include "pack/PresetText.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "pack/PackError.h"

namespace {

constexpr std::string_view kProcessorKeyword = "processor";

std::string_view trimmed(std::string_view text) {
  const char* blanks = " \t\r";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string_view withoutComment(std::string_view line) { return line.substr(0, line.find('#')); }

bool parseWhole(std::string_view text, float& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool parseIndex(std::string_view text, std::size_t& index) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Reads one preset text line by line, remembering where each value came from.
class PresetParser {
 public:
  explicit PresetParser(const std::string& fileName) : fileName(fileName) {}

  void parseLine(std::string_view rawLine, int lineNumber) {
    line = lineNumber;
    std::string_view content = trimmed(withoutComment(rawLine));
    if (content.empty()) return;
    if (!preset.processor)
      parseProcessorLine(content);
    else
      parseValueLine(content);
  }

  PresetText finish() {
    if (!preset.processor) throw packError(fileName, line, "no 'processor TYPE' line");
    for (std::size_t i = 0; i < setOnLine.size(); ++i)
      if (setOnLine[i] == 0) throw packError(fileName, processorLine, "no value for " + describe(i));
    preset.processorLine = processorLine;
    preset.valueLines = setOnLine;
    return preset;
  }

 private:
  void parseProcessorLine(std::string_view content) {
    std::size_t blank = content.find_first_of(" \t");
    if (blank == std::string_view::npos || content.substr(0, blank) != kProcessorKeyword)
      fail("expected 'processor TYPE' before any value");
    std::string_view typeName = trimmed(content.substr(blank));
    preset.processor = findProcessorType(typeName);
    if (!preset.processor)
      fail("unknown processor type '" + std::string(typeName) + "' (known: " + knownProcessorTypes() + ")");
    processorLine = line;
    preset.values.assign(preset.processor->parameterNames.size(), 0.0f);
    setOnLine.assign(preset.values.size(), 0);
  }

  void parseValueLine(std::string_view content) {
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) fail("expected 'PARAMETER = VALUE'");
    std::size_t index = parameterIndex(trimmed(content.substr(0, equals)));
    std::string_view valueText = trimmed(content.substr(equals + 1));
    float value = 0.0f;
    if (!parseWhole(valueText, value)) fail("'" + std::string(valueText) + "' is not a finite number");
    if (setOnLine[index] != 0)
      fail(describe(index) + " is already set on line " + std::to_string(setOnLine[index]));
    preset.values[index] = value;
    setOnLine[index] = line;
  }

  std::size_t parameterIndex(std::string_view key) {
    const ProcessorInfo& processor = *preset.processor;
    std::size_t index = 0;
    if (parseIndex(key, index)) {
      if (index >= processor.parameterNames.size())
        fail("no parameter " + std::to_string(index) + " for " + processor.typeName + " (it has " +
             std::to_string(processor.parameterNames.size()) + ")");
      return index;
    }
    VstInt32 named = processor.parameterIndex(key);
    if (named < 0) fail("unknown parameter '" + std::string(key) + "' for " + processor.typeName);
    return static_cast<std::size_t>(named);
  }

  std::string describe(std::size_t index) const {
    const std::string& name = preset.processor->parameterNames[index];
    return name.empty() ? "parameter " + std::to_string(index) : "'" + name + "'";
  }

  [[noreturn]] void fail(const std::string& message) const { throw packError(fileName, line, message); }

  const std::string& fileName;
  PresetText preset;
  std::vector<int> setOnLine;
  int line = 0;
  int processorLine = 0;
};

std::string shortestText(float value) {
  char text[32];
  auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return std::string(text, error == std::errc() ? end : text);
}

}  // namespace

PresetText parsePresetText(const std::string& text, const std::string& fileName) {
  PresetParser parser(fileName);
  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) parser.parseLine(line, ++lineNumber);
  return parser.finish();
}

std::string formatParameterLine(const ProcessorInfo* processor, std::size_t index, float value) {
  bool named =
      processor && index < processor->parameterNames.size() && !processor->parameterNames[index].empty();
  std::string key = named ? processor->parameterNames[index] : std::to_string(index);
  return key + " = " + shortestText(value) + "\n";
}

std::string formatPresetText(const PresetText& preset) {
  std::string text = std::string(kProcessorKeyword) + " " + preset.processor->typeName + "\n";
  for (std::size_t i = 0; i < preset.values.size(); ++i)
    text += formatParameterLine(preset.processor, i, preset.values[i]);
  return text;
}
