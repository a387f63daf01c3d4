// torvix-pack's warnings: what would pack but is likely a mistake, each at its file and line.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>
#include <vector>

#include "PackFolder.h"
#include "pack/ArchiveSources.h"
#include "pack/DescriptionCheck.h"
#include "pack/DescriptionLint.h"
#include "pack/PresetValueCheck.h"

namespace {

const char* const kEqPreset =
    "processor eq\nOrder = 0\nType = 0\nNr of passes = 0.15\nFrequency = 0.1\nAlpha = 0.95\nK = 0.5\nPost "
    "gain = 1\n";
const char* const kClipPreset =
    "processor clip\nPre-gain = 4\nClip positive = 0.5\nClip negative = 0.5\nPost-gain = 0.3\nAverage time = "
    "0\n";

struct Expected {
  std::string file;
  int line;
  // A part of the message that the warning must hold.
  std::string mentions;
};

// The warnings of a folder holding the given sources, as "file:line: message".
std::vector<std::string> warningsOf(const std::vector<std::pair<std::string, std::string>>& sources,
                                    TemporaryDirectory& folder) {
  for (const auto& [name, text] : sources) writeSource(folder, name, text);
  std::vector<std::string> texts;
  const PackWarnings warnings = checkDescriptions(collectArchiveSources(folder.path()));
  for (const PackWarning& warning : warnings.all()) texts.push_back(warning.text());
  return texts;
}

void expectWarnings(const std::vector<std::pair<std::string, std::string>>& sources,
                    const std::vector<Expected>& expected) {
  TemporaryDirectory folder;
  const std::vector<std::string> found = warningsOf(sources, folder);
  ASSERT_EQ(found.size(), expected.size()) << ::testing::PrintToString(found);
  for (std::size_t i = 0; i < found.size(); ++i) {
    const std::string place =
        (folder / expected[i].file).string() + ":" + std::to_string(expected[i].line) + ": warning: ";
    EXPECT_TRUE(found[i].starts_with(place)) << found[i] << " is not at " << place;
    EXPECT_NE(found[i].find(expected[i].mentions), std::string::npos) << found[i];
  }
}

std::string graph(const std::string& children) { return "<torvix>\n" + children + "\n</torvix>\n"; }

TEST(PackWarnings, ShippedSourcesPackWithoutWarnings) {
  EXPECT_TRUE(checkDescriptions(collectArchiveSources(TORVIX_DATA_DIR)).empty());
}

TEST(PackWarnings, MisspeltPresetLeavesANodeWithoutPresetAndThePresetUnused) {
  expectWarnings(
      {{"touch.xml", graph(R"(<fx id="touch_tone" type="eq"/>)")}, {"tuoch_tone.preset", kEqPreset}},
      {{"touch.xml", 2, "\"touch_tone\" has no preset touch_tone.preset"},
       {"tuoch_tone.preset", 1, "never used (did you mean touch_tone?)"}});
}

TEST(PackWarnings, PresetForAnotherProcessorAndNodesThatNeverRun) {
  expectWarnings({{"g.xml", graph("<fx id=\"a\" type=\"eq\"/>\n<fx id=\"b\" type=\"inv\" input=\"in\"/>")},
                  {"a.preset", kClipPreset},
                  {"b.preset", "processor inv\n0 = 0\n"}},
                 {{"g.xml", 2, "never runs"}, {"g.xml", 2, "\"a\" is eq, but"}});
}

// An averager on line 4 whose window is value get of source (declared on line 3, after a
// divider passing on the constant 1e9 as its value 7), both read by the output mixer; the
// description names its rate.
std::string followedWindow(const std::string& source, const std::string& get) {
  return "<torvix rate=\"44100\">" +
         graph(R"(<processor type="divider" id="far" input="in"><param set="7" value="1e9"/></processor>
)" + source + R"(
<processor type="averager" id="w" input="in"><param set="0" node="s" get=")" +
               get + R"("/></processor>
<mixer id="m" input="in" input2="in"><param set="0" node="w" get="0"/><param set="1" node="far" get="2"/></mixer>)")
             .substr(std::string("<torvix>").size());
}

TEST(PackWarnings, FollowedWindowsThatCanOutgrowTheirHistory) {
  const std::string divider = R"(<processor type="divider" id="s" input="in">)";
  const struct {
    std::string source;
    std::string get;
    std::string mentions;  // empty: no warning
  } cases[] = {
      {divider + "</processor>", "2", ""},
      {divider + R"(<param set="7" value="65536"/></processor>)", "7", ""},
      {divider + R"(<param set="7" value="65537"/></processor>)", "7", "follows the constant 65537"},
      {divider + R"(<param set="7" node="far" get="7"/></processor>)", "7", "follows the constant 1e+09"},
      {R"(<processor type="averager" id="s" input="in"><param set="0" value="64"/></processor>)", "0",
       "follows a level, which has no bound"},
  };
  for (const auto& window : cases) {
    SCOPED_TRACE(window.source);
    std::vector<Expected> expected;
    if (!window.mentions.empty())
      expected.push_back({"g.xml", 4, window.mentions + ": a window longer than 65536"});
    expectWarnings({{"g.xml", followedWindow(window.source, window.get)}}, expected);
  }
}

const char* const kLimiterPreset =
    "processor clip\nPre-gain = 4\nClip positive = 0.5\nClip negative = 0.5\nPost-gain = 0.3\nAverage time = "
    "1\n";
const char* const kShortLimiterPreset =
    "processor clip\nPre-gain = 4\nClip positive = 0.5\nClip negative = 0.5\nPost-gain = 0.3\nAverage time = "
    "0.5\n";
const char* const kLongDelayPreset = "processor delay\nDelay = 1.5\nFeedBack = 0\nVolume = 1\n";
const char* const kShortDelayPreset = "processor delay\nDelay = 0.55\nFeedBack = 0\nVolume = 1\n";

// An averager (line 2), a limiter (3) and a delay (4) counting samples, with the given presets.
std::vector<std::pair<std::string, std::string>> countingGraph(const std::string& root, const char* limiter,
                                                               const char* delay) {
  return {{"g.xml", root + R"(
<processor type="averager" id="w" input="in"><param set="0" value="2048"/></processor>
<fx id="lim" type="clip" input="in"/>
<fx id="echo" type="delay"/>
<mixer id="m" input="lim" input2="echo"><param set="0" node="w" get="0"/></mixer>
</torvix>
)"},
          {"lim.preset", limiter},
          {"echo.preset", delay}};
}

TEST(PackWarnings, CountsOfSamplesWithoutANamedRate) {
  expectWarnings(
      countingGraph("<torvix>", kLimiterPreset, kLongDelayPreset),
      {{"g.xml", 2, "averager's window of 2048 samples lasts 46.4 ms at 44.1 kHz but 10.7 ms at 192 kHz"},
       {"g.xml", 3,
        "clipper's limiter window of 1 ms (at most 100 samples) lasts 0.998 ms at 44.1 kHz "
        "but 0.521 ms at 192 kHz"},
       {"g.xml", 4, "delay line of 300 ms (at most 40000 samples) lasts 300 ms at 44.1 kHz but 208 ms"}});
  // Windows and delays that no limit shortens at 192 kHz last as long at every rate.
  expectWarnings(countingGraph("<torvix oversampling=\"4\">", kShortLimiterPreset, kShortDelayPreset),
                 {{"g.xml", 2, "name the rate the description was written for (rate=\"44100\""}});
  expectWarnings(countingGraph("<torvix rate=\"48000\">", kLimiterPreset, kLongDelayPreset), {});
}

TEST(PackWarnings, EngineFilterPresetsCountAsUsed) {
  expectWarnings({{"g.xml", graph("")}, {"bass.preset", kEqPreset}, {"LO_MID.preset", kEqPreset}}, {});
}

struct LintCase {
  const char* what;
  std::string children;
  // Line and part of each expected warning, in order; the description's file is g.xml.
  std::vector<std::pair<int, std::string>> expected;
};

class DescriptionLintTest : public ::testing::TestWithParam<LintCase> {};

// Each found warning is at its expected line and mentions its expected text.
void expectFound(const PackWarnings& warnings, const std::string& file,
                 const std::vector<std::pair<int, std::string>>& expected) {
  ASSERT_EQ(warnings.all().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string text = warnings.all()[i].text();
    EXPECT_TRUE(text.starts_with(file + ":" + std::to_string(expected[i].first) + ": warning: ")) << text;
    EXPECT_NE(text.find(expected[i].second), std::string::npos) << text;
  }
}

TEST_P(DescriptionLintTest, WarnsAtTheLine) {
  const LintCase& lint = GetParam();
  TiXmlDocument document;
  PackWarnings warnings;
  lintDescription(parseDescription(document, graph(lint.children), "g.xml"), "g.xml", warnings);
  expectFound(warnings, "g.xml", lint.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DescriptionLintTest,
    ::testing::Values(
        LintCase{"CleanDescription",
                 R"(<mixer id="m" input="in" input2="in"><param set="0" value="0.5"/></mixer>)",
                 {}},
        LintCase{"UnknownAttribute",
                 "<mixer id=\"m\" input=\"in\" input2=\"in\"><param set=\"0\" vaule=\"0.5\"/></mixer>",
                 {{2, "unknown attribute vaule"}, {2, "bound to 1"}}},
        LintCase{"AttributeInAnotherCase",
                 "<fx id=\"a\" type=\"clip\" Input=\"in\"/>",
                 {{2, "case-sensitive: input"}}},
        LintCase{"UnknownFxType", "<fx id=\"e\" type=\"dealy\"/>", {{2, "unknown fx type \"dealy\""}}},
        LintCase{"UnknownFxTypeOutputsSilence",
                 "<fx id=\"e\" type=\"dealy\"/>",
                 {{2, "has no effect and outputs silence"}}},
        LintCase{"UnknownProcessorType", "<processor type=\"avg\"/>", {{2, "unknown processor type"}}},
        LintCase{"UnknownElement", "<mixr input=\"in\" input2=\"in\"/>", {{2, "<mixr> is not a node"}}},
        LintCase{"FxWithoutId", "<fx type=\"eq\"/>", {{2, "without id"}}},
        LintCase{"SetThatIsNoNumber",
                 "<mixer id=\"m\" input=\"in\" input2=\"in\">\n<param set=\"one\" value=\"2\"/></mixer>",
                 {{3, "set=\"one\" is not a whole number: it reads as 0"}}},
        LintCase{"ValueThatIsNoNumber",
                 "<mixer id=\"m\" input=\"in\" input2=\"in\"><param set=\"0\" value=\"half\"/></mixer>",
                 {{2, "value=\"half\" is not a number"}}},
        LintCase{"ValueBeyondFloat",
                 "<mixer id=\"m\" input=\"in\" input2=\"in\"><param set=\"0\" value=\"1e39\"/></mixer>",
                 {{2, "not a finite"}}},
        LintCase{
            "HiddenParam",
            "<mixer id=\"m\" input=\"in\" input2=\"in\">\n<param set=\"1\" value=\"2\"/>\n<param set=\"1\" "
            "value=\"3\"/></mixer>",
            {{4, "already given on line 3"}}},
        LintCase{"ParameterNoMixerReads",
                 "<mixer id=\"m\" input=\"in\" input2=\"in\"><param set=\"2\" value=\"2\"/></mixer>",
                 {{2, "parameter 2 is never read"}}},
        LintCase{"ValueInsideFx",
                 "<fx id=\"a\" type=\"clip\" input=\"in\"><param set=\"0\" value=\"2\"/></fx>",
                 {{2, "come from its preset"}}},
        LintCase{
            "ValueNoSourceOffers",
            "<processor id=\"v\" type=\"averager\" input=\"in\"/>\n<processor id=\"d\" type=\"divider\">"
            "<param set=\"0\" node=\"v\" get=\"1\"/><param set=\"1\" node=\"in\" get=\"0\"/></processor>\n"
            "<mixer input=\"in\" input2=\"in\"><param set=\"0\" node=\"d\" get=\"2\"/></mixer>",
            {{3, "value 1 of \"v\" is always 1"}, {3, "\"in\" offers no values"}}},
        LintCase{"NestedElementThatIsNoParam",
                 "<mixer input=\"in\" input2=\"in\"><Param set=\"0\" value=\"2\"/></mixer>",
                 {{2, "<Param> inside <mixer> is not read"}}}),
    [](const ::testing::TestParamInfo<LintCase>& info) { return std::string(info.param.what); });

struct ValueCase {
  const char* what;
  std::string preset;
  // Line and part of each expected warning, in order.
  std::vector<std::pair<int, std::string>> expected;
};

class PresetValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(PresetValueTest, WarnsAtTheValue) {
  const ValueCase& value = GetParam();
  PackWarnings warnings;
  checkPresetValues(parsePresetText(value.preset, "a.preset"), "a.preset", warnings);
  expectFound(warnings, "a.preset", value.expected);
}

// The preset text with the value on line `line` (counted from 1) replaced.
std::string withLine(const char* preset, int line, const std::string& replacement) {
  std::string text = preset;
  std::size_t start = 0;
  for (int current = 1; current < line; ++current) start = text.find('\n', start) + 1;
  return text.replace(start, text.find('\n', start) - start, replacement);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PresetValueTest,
    ::testing::Values(
        ValueCase{"LegitimateGainsAboveOne", withLine(kEqPreset, 8, "Post gain = 12"), {}},
        ValueCase{"KAboveOne", withLine(kEqPreset, 7, "K = 3"), {{7, "\"K\" = 3: asks for 130 dB"}}},
        ValueCase{"KBelowZero", withLine(kEqPreset, 7, "K = -0.5"), {{7, "\"K\" = -0.5"}}},
        ValueCase{"TwentyPassesAreFine", withLine(kEqPreset, 4, "Nr of passes = 2.05"), {}},
        ValueCase{"MoreThanTwentyPasses", withLine(kEqPreset, 4, "Nr of passes = 3"), {{4, "30 passes"}}},
        ValueCase{"NoPass", withLine(kEqPreset, 4, "Nr of passes = 0.05"), {{4, "no pass"}}},
        ValueCase{"EqBoostedGainLeavingTheFloatRange",
                  withLine(withLine(kEqPreset, 7, "K = 0.6").c_str(), 8, "Post gain = 3e38"),
                  {{8, "float range"}}},
        ValueCase{"TwentyFullBoostsStayInTheFloatRange",
                  withLine(withLine(kEqPreset, 4, "Nr of passes = 2").c_str(), 7, "K = 1"),
                  {}},
        ValueCase{"EqBoostTimesGainLeavingTheFloatRange",
                  withLine(withLine(withLine(kEqPreset, 4, "Nr of passes = 2").c_str(), 7, "K = 1").c_str(),
                           8, "Post gain = 1e20"),
                  {{8, "float range"}}},
        ValueCase{
            "NegativeAverageTime", withLine(kClipPreset, 6, "Average time = -1"), {{6, "negative time"}}},
        ValueCase{
            "NegativeClipLevel", withLine(kClipPreset, 3, "Clip positive = -0.5"), {{3, "negative level"}}},
        ValueCase{"ClipperPreGainLeavingTheFloatRange",
                  withLine(kClipPreset, 2, "Pre-gain = 1e38"),
                  {{2, "float range"}}},
        ValueCase{"ClippedSignalKeepsThePostGainInRange", withLine(kClipPreset, 5, "Post-gain = 1e37"), {}},
        ValueCase{"NegativeDelay",
                  "processor delay\nDelay = -0.5\nFeedBack = 0\nVolume = 1\n",
                  {{2, "negative time"}}}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.what); });

}  // namespace
