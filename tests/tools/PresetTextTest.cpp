#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "pack/PackError.h"
#include "pack/PresetText.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

// The message of the PackError that parsing text throws, or "" when none.
std::string errorOf(const std::string& text) {
  try {
    parsePresetText(text, "dir/p.preset");
  } catch (const PackError& error) {
    return error.what();
  }
  return "";
}

const std::string kFullEq =
    "processor eq\nOrder = 0\nType = 0\nNr of passes = 0.3\nFrequency = 0.02\nAlpha = 0.95\nK = 0.5\nPost "
    "gain = 1\n";

}  // namespace

// --- Reading.

TEST(PresetText, NamedValuesInAnyOrderWithCommentsAndBlanks) {
  PresetText preset = parsePresetText(
      "# a comment line\n\n  processor   eq   # the equaliser\n"
      "Post gain = 1\t\nK=0.25\r\n  Alpha =  0.95  # bandwidth\nFrequency = 2e-2\n"
      "Nr of passes = 0.3\nType = 1\nOrder = -0\n",
      "p.preset");
  ASSERT_NE(preset.processor, nullptr);
  EXPECT_EQ(preset.processor->typeName, "eq");
  EXPECT_THAT(preset.values, ElementsAre(-0.0f, 1.0f, 0.3f, 0.02f, 0.95f, 0.25f, 1.0f));
}

TEST(PresetText, ParametersByIndexAndTypeInAnyCase) {
  PresetText inverter = parsePresetText("processor INV\n0 = 0.5\n", "p.preset");
  EXPECT_EQ(inverter.processor->typeName, "inv");
  EXPECT_THAT(inverter.values, ElementsAre(0.5f));
  PresetText delay = parsePresetText("processor Delay\n2 = 0.75\nDelay = 0.5\n1 = 0.25\n", "p.preset");
  EXPECT_THAT(delay.values, ElementsAre(0.5f, 0.25f, 0.75f));
}

// --- Refusing, with file and line.

TEST(PresetText, UnknownProcessorType) {
  EXPECT_EQ(errorOf("# x\nprocessor fuzz\n"),
            "dir/p.preset:2: unknown processor type 'fuzz' (known: eq, clip, inv, delay)");
  EXPECT_EQ(errorOf("processor\n"), "dir/p.preset:1: expected 'processor TYPE' before any value");
  EXPECT_EQ(errorOf("processoreq\n"), "dir/p.preset:1: expected 'processor TYPE' before any value");
}

TEST(PresetText, ValueBeforeTheProcessorLine) {
  EXPECT_EQ(errorOf("\nK = 0.5\nprocessor eq\n"),
            "dir/p.preset:2: expected 'processor TYPE' before any value");
}

TEST(PresetText, EmptyFile) {
  EXPECT_EQ(errorOf(""), "dir/p.preset: no 'processor TYPE' line");
  EXPECT_EQ(errorOf("# only\n\n"), "dir/p.preset:2: no 'processor TYPE' line");
}

TEST(PresetText, UnknownParameterName) {
  EXPECT_EQ(errorOf("processor eq\nOrder = 0\nKay = 0.5\n"),
            "dir/p.preset:3: unknown parameter 'Kay' for eq");
  EXPECT_EQ(errorOf("processor eq\norder = 0\n"), "dir/p.preset:2: unknown parameter 'order' for eq");
  EXPECT_EQ(errorOf("processor eq\n = 0\n"), "dir/p.preset:2: unknown parameter '' for eq");
  EXPECT_EQ(errorOf("processor eq\n7 = 0\n"), "dir/p.preset:2: no parameter 7 for eq (it has 7)");
  EXPECT_EQ(errorOf("processor eq\n-1 = 0\n"), "dir/p.preset:2: unknown parameter '-1' for eq");
}

TEST(PresetText, ValueThatIsNotAFiniteNumber) {
  for (const char* value : {"", "0.5x", "half", "0,5", "nan", "inf", "-inf", "1e999"})
    EXPECT_EQ(errorOf(std::string("processor inv\n0 = ") + value + "\n"),
              std::string("dir/p.preset:2: '") + value + "' is not a finite number")
        << value;
}

TEST(PresetText, LineWithoutEquals) {
  EXPECT_EQ(errorOf("processor inv\n0 0.5\n"), "dir/p.preset:2: expected 'PARAMETER = VALUE'");
}

TEST(PresetText, ParameterSetTwice) {
  EXPECT_EQ(errorOf("processor delay\nDelay = 0.5\nFeedBack = 0\n0 = 0.25\n"),
            "dir/p.preset:4: 'Delay' is already set on line 2");
  EXPECT_EQ(errorOf("processor inv\n0 = 1\n\n0 = 1\n"),
            "dir/p.preset:4: parameter 0 is already set on line 2");
}

TEST(PresetText, ParameterLeftOutNamesTheProcessorLine) {
  EXPECT_EQ(errorOf("# bass\nprocessor eq\nOrder = 0\n"), "dir/p.preset:2: no value for 'Type'");
  EXPECT_EQ(errorOf("processor inv\n"), "dir/p.preset:1: no value for parameter 0");
}

// --- Writing.

TEST(PresetText, CanonicalTextReadsBackToTheSameValues) {
  PresetText preset = parsePresetText(kFullEq, "p.preset");
  EXPECT_EQ(formatPresetText(preset), kFullEq);
}

TEST(PresetText, ValuesAreWrittenToReadBackBitForBit) {
  const float awkward[] = {0.1f,
                           1.0f / 3.0f,
                           16777217.0f,
                           1e-30f,
                           std::numeric_limits<float>::denorm_min(),
                           std::numeric_limits<float>::max(),
                           -0.0f,
                           0.95f};
  for (float value : awkward) {
    std::string line = formatParameterLine(findProcessorType("inv"), 0, value);
    PresetText preset = parsePresetText("processor inv\n" + line, "p.preset");
    EXPECT_EQ(std::bit_cast<std::uint32_t>(preset.values[0]), std::bit_cast<std::uint32_t>(value)) << line;
  }
}

TEST(PresetText, UnnamedAndUnknownParametersAreWrittenByIndex) {
  EXPECT_EQ(formatParameterLine(findProcessorType("inv"), 0, 0.5f), "0 = 0.5\n");
  EXPECT_EQ(formatParameterLine(findProcessorType("delay"), 3, 0.5f), "3 = 0.5\n");
  EXPECT_EQ(formatParameterLine(nullptr, 1, 2.0f), "1 = 2\n");
  EXPECT_EQ(formatParameterLine(findProcessorType("delay"), 1, 0.25f), "FeedBack = 0.25\n");
}
