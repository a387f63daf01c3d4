#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/NumberText.h"
#include "render/ParameterName.h"
#include "render/RenderError.h"
#include "render/RenderOptions.h"

namespace {

TEST(RenderOptions, TakesInputOutputAndDefaults) {
  const RenderOptions options = parseRenderOptions({"in.flac", "out.wav"});
  EXPECT_EQ(options.mode, RenderMode::render);
  EXPECT_EQ(options.inputPath, "in.flac");
  EXPECT_EQ(options.outputPath, "out.wav");
  EXPECT_EQ(options.blockSize, 512);
  EXPECT_TRUE(options.modulePath.empty());
  EXPECT_FALSE(options.preset);
  EXPECT_FALSE(options.encoding);
  EXPECT_TRUE(options.parameters.empty());
}

TEST(RenderOptions, ReadsValuesAfterTheOptionOrAfterAnEqualsSign) {
  const RenderOptions options = parseRenderOptions(
      {"--module", "m.so", "--block-size=64", "--format", "24", "--pre-gain", "-0", "a.wav", "--", "-b.wav"});
  EXPECT_EQ(options.modulePath, "m.so");
  EXPECT_EQ(options.blockSize, 64);
  EXPECT_EQ(options.encoding, SampleEncoding::pcm24);
  EXPECT_EQ(options.inputPath, "a.wav");
  EXPECT_EQ(options.outputPath, "-b.wav");
}

TEST(RenderOptions, ParameterShortcutsAndParamBecomeRequestsInOrder) {
  const RenderOptions options =
      parseRenderOptions({"--pre-gain", "0.7", "--param", "Post gain=0.25", "--pre-bass=1", "a", "b"});
  ASSERT_EQ(options.parameters.size(), 3u);
  EXPECT_EQ(options.parameters[0].name, "pre-gain");
  EXPECT_EQ(options.parameters[0].value, 0.7f);
  EXPECT_EQ(options.parameters[1].name, "Post gain");
  EXPECT_EQ(options.parameters[1].value, 0.25f);
  EXPECT_EQ(options.parameters[2].name, "pre-bass");
  EXPECT_EQ(options.parameters[2].value, 1.0f);
}

TEST(RenderOptions, PresetComesByItsOwnOptionOrAsAParameter) {
  EXPECT_EQ(parseRenderOptions({"--preset", "crunch", "a", "b"}).preset, "crunch");
  const RenderOptions asParameter = parseRenderOptions({"--param", "preset=2", "a", "b"});
  EXPECT_EQ(asParameter.preset, "2");
  EXPECT_TRUE(asParameter.parameters.empty());
}

TEST(RenderOptions, ListAndDemoTakeNoFiles) {
  EXPECT_EQ(parseRenderOptions({"--list"}).mode, RenderMode::list);
  const RenderOptions demo = parseRenderOptions({"--demo", "out", "--sample-rate", "48000"});
  EXPECT_EQ(demo.mode, RenderMode::demo);
  EXPECT_EQ(demo.demoDirectory, "out");
  EXPECT_EQ(demo.sampleRate, 48000.0f);
  const RenderOptions snapshot = parseRenderOptions({"--snapshot", "editor.PNG", "--preset", "2"});
  EXPECT_EQ(snapshot.mode, RenderMode::snapshot);
  EXPECT_EQ(snapshot.snapshotPath, "editor.PNG");
  EXPECT_THROW(parseRenderOptions({"--snapshot", "a.png", "in.wav"}), UsageError);
}

TEST(RenderOptions, OutputDirectoryTakesEveryFileBeforeOrAfterItAsInput) {
  const RenderOptions options = parseRenderOptions({"a.wav", "-o", "out", "b.flac", "--tail=2.5", "c.ogg"});
  EXPECT_EQ(options.mode, RenderMode::batch);
  EXPECT_EQ(options.outputDirectory, "out");
  EXPECT_EQ(options.inputPaths, (std::vector<std::string>{"a.wav", "b.flac", "c.ogg"}));
  EXPECT_EQ(options.longestTail, 2.5);
  EXPECT_EQ(parseRenderOptions({"--output-dir", "o", "x.wav"}).inputPaths, std::vector<std::string>{"x.wav"});
  EXPECT_EQ(parseRenderOptions({"a", "b"}).longestTail, 30.0);
}

TEST(RenderOptions, HelpWinsOverEverythingElse) {
  EXPECT_EQ(parseRenderOptions({"--demo", "d", "-h"}).mode, RenderMode::help);
  EXPECT_EQ(parseRenderOptions({"only-one", "--help"}).mode, RenderMode::help);
}

TEST(RenderOptions, RefusesCommandLinesItCannotUse) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"in.wav"},
      {"a", "b", "c"},
      {"--block-size", "0", "a", "b"},
      {"--block-size", "65537", "a", "b"},
      {"--block-size", "12x", "a", "b"},
      {"--format", "32", "a", "b"},
      {"--param", "novalue", "a", "b"},
      {"--param", "=0.5", "a", "b"},
      {"--pre-gain", "loud", "a", "b"},
      {"--post-gain", "nan", "a", "b"},
      {"--sample-rate", "48000", "a", "b"},
      {"--demo", "d", "--sample-rate", "100"},
      {"--list", "extra"},
      {"--demo"},
      {"--list", "--demo", "d"},
      {"--bogus", "a", "b"},
      {"--list=yes"},
      {"a", "b", "--module"},
      {"-o", "out"},
      {"-o", "out", "--sample-rate", "48000", "a"},
      {"--demo", "d", "-o", "out"},
      {"--tail", "-1", "a", "b"},
      {"--tail", "3601", "a", "b"},
      {"--tail", "long", "a", "b"},
      {"--snapshot", "editor.jpg"},
      {"--preset", "all", "a", "b"},
      {"a.wav", "-", "-o", "out"},
      {"--snapshot", "editor"},
  };
  for (const std::vector<std::string>& arguments : wrong) {
    std::string line;
    for (const std::string& argument : arguments) line += argument + " ";
    EXPECT_THROW(parseRenderOptions(arguments), UsageError) << line;
  }
}

TEST(ParameterName, MatchesNamesAsUsersTypeThem) {
  EXPECT_TRUE(parameterNameMatches("Pre gain", "Pre gain"));
  EXPECT_TRUE(parameterNameMatches("Pre gain", "pre-gain"));
  EXPECT_TRUE(parameterNameMatches("Pre gain", "PRE_GAIN"));
  EXPECT_FALSE(parameterNameMatches("Pre gain", "pregain"));
  EXPECT_FALSE(parameterNameMatches("Pre gain", "Post gain"));
  EXPECT_FALSE(parameterNameMatches("", ""));
}

TEST(NumberText, ReadsWholeFiniteNumbersOnly) {
  EXPECT_EQ(floatFromText("0.5"), 0.5f);
  EXPECT_EQ(floatFromText("-1e-3"), -0.001f);
  for (const char* bad : {"", "0.5x", " 1", "nan", "inf", "1e99"}) EXPECT_FALSE(floatFromText(bad)) << bad;
  EXPECT_EQ(indexFromText("12"), 12);
  for (const char* bad : {"", "-1", "+1", "1.0", "99999999999", "2 "})
    EXPECT_FALSE(indexFromText(bad)) << bad;
}

}  // namespace
