// The reviewable text form of a preset (docs/preset-format.md):
//
//   # comments run from '#' to the end of the line
//   processor eq
//   Order = 0
//   5 = 0.5        (a parameter by index, for unnamed ones)
#pragma once

#include <string>
#include <vector>

#include "pack/ProcessorCatalogue.h"

struct PresetText {
  const ProcessorInfo* processor = nullptr;
  // One value per parameter of the processor, in index order.
  std::vector<float> values;
  // Where the text gives the processor and each value (0 for a preset not read from text).
  int processorLine = 0;
  std::vector<int> valueLines;
};

// Parses a preset text; fileName is used in messages. Throws PackError naming
// the file and line for an unknown processor type or parameter, a value that
// is not a finite number, a parameter set twice or left out, and any line
// that is not one of the above.
PresetText parsePresetText(const std::string& text, const std::string& fileName);

// "Name = value" for parameter i of processor, or "i = value" when it has no
// name or lies beyond the processor's parameters. Values are written in the
// shortest form that reads back as the same float.
std::string formatParameterLine(const ProcessorInfo* processor, std::size_t index, float value);

// The canonical text of a preset: the processor line and every value.
std::string formatPresetText(const PresetText& preset);
