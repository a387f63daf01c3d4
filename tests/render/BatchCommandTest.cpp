// Several inputs into an output directory, through the echo test module
// (it doubles its input and reports a tail of 3 samples).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "CommandRun.h"
#include "TestAudio.h"
#include "support/TemporaryDirectory.h"

namespace {

// Quiet enough that the echo module's doubling stays below full scale.
std::vector<float> quietPluck(std::size_t frames, double frequency) {
  std::vector<float> samples = pluckLikeSignal(frames, frequency);
  for (float& sample : samples) sample *= 0.5f;
  return samples;
}

class BatchCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeTestAudio(directory / "a.wav", {1, 44100, quietPluck(3000, 110.0)});
    writeTestAudio(directory / "b.flac", {2, 48000, interleaved(quietPluck(2000, 220.0), quietPluck(2000, 330.0))},
                   SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    writeTestAudio(directory / "c.aiff", {1, 22050, quietPluck(1000, 440.0)}, SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
  }

  std::string path(const std::string& name) const { return (directory / name).string(); }

  CommandRun batch(const std::vector<std::string>& inputs, const std::string& outputDirectory,
                   bool onTerminal = false) const {
    std::vector<std::string> arguments{"--module", ECHO_MODULE_PATH};
    for (const std::string& input : inputs) arguments.push_back(path(input));
    arguments.insert(arguments.end(), {"-o", path(outputDirectory)});
    return CommandRun(arguments, onTerminal);
  }

  TemporaryDirectory directory;
};

TEST_F(BatchCommandTest, RendersEveryInputUnderItsOwnNameAsASingleRenderWould) {
  const CommandRun run = batch({"a.wav", "b.flac", "c.aiff"}, "out");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(fileNamesIn(directory / "out"), (std::set<std::string>{"a.wav", "b.flac", "c.wav"}));
  for (const auto& [input, output] : {std::pair{"a.wav", "a.wav"}, std::pair{"b.flac", "b.flac"},
                                      std::pair{"c.aiff", "c.wav"}}) {
    ASSERT_EQ(CommandRun({"--module", ECHO_MODULE_PATH, path(input), path("single.wav")}).status, 0);
    const TestAudio single = readTestAudio(directory / "single.wav");
    const TestAudio batched = readTestAudio(directory / "out" / output);
    EXPECT_EQ(batched.sampleRate, single.sampleRate) << input;
    for (std::size_t i = 0; i < single.samples.size(); ++i) {
      ASSERT_NEAR(batched.samples[i], single.samples[i], 1.0 / 32768) << input << " at " << i;
    }
  }
  const std::size_t aAt = run.out.find("wrote " + path("out/a.wav"));
  const std::size_t bAt = run.out.find("wrote " + path("out/b.flac"));
  const std::size_t cAt = run.out.find("wrote " + path("out/c.wav"));
  EXPECT_TRUE(aAt < bAt && bAt < cAt && cAt != std::string::npos) << run.out;
}

TEST_F(BatchCommandTest, DrawsOneProgressLineForTheWholeBatch) {
  const CommandRun run = batch({"a.wav", "b.flac", "c.aiff"}, "out", true);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_EQ(run.err.substr(run.err.size() - 5), "100%\n") << run.err;
  EXPECT_EQ(run.err.find(" 100%"), run.err.rfind(" 100%")) << run.err;
}

TEST_F(BatchCommandTest, AFailedFileIsOneLineAndTheOthersAreRendered) {
  std::ofstream(directory / "broken.wav") << "RIFF, but no audio in it";
  const CommandRun run = batch({"a.wav", "broken.wav", "missing.wav", "c.aiff"}, "out");
  EXPECT_EQ(run.status, 1);
  const std::size_t brokenAt = run.err.find("torvix-render: cannot read " + path("broken.wav") + ": ");
  const std::size_t missingAt = run.err.find("\ntorvix-render: cannot read " + path("missing.wav") + ": no such file\n");
  EXPECT_EQ(brokenAt, 0u) << run.err;
  EXPECT_EQ(missingAt, run.err.find('\n')) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
  EXPECT_EQ(fileNamesIn(directory / "out"), (std::set<std::string>{"a.wav", "c.wav"}));
}

TEST_F(BatchCommandTest, RefusesOutputsThatTwoInputsShareOrThatAreInputs) {
  std::filesystem::create_directory(directory / "other");
  writeTestAudio(directory / "other/a.wav", {1, 44100, pluckLikeSignal(100, 110.0)});
  const CommandRun shared = batch({"a.wav", "other/a.wav"}, "out");
  EXPECT_TRUE(shared.failedWithOneLine()) << shared.err;
  EXPECT_NE(shared.err.find("would both be written to " + path("out/a.wav")), std::string::npos) << shared.err;
  EXPECT_FALSE(std::filesystem::exists(directory / "out"));
  const CommandRun ontoItself = batch({"a.wav"}, ".");
  EXPECT_TRUE(ontoItself.failedWithOneLine()) << ontoItself.err;
  EXPECT_NE(ontoItself.err.find("it is the input file"), std::string::npos) << ontoItself.err;
}

TEST_F(BatchCommandTest, MakesOnlyTheLastLevelOfTheOutputDirectory) {
  const CommandRun deep = batch({"a.wav"}, "missing/out");
  EXPECT_TRUE(deep.failedWithOneLine()) << deep.err;
  EXPECT_NE(deep.err.find("does not exist"), std::string::npos) << deep.err;
  EXPECT_FALSE(std::filesystem::exists(directory / "missing"));
  std::ofstream(directory / "file") << "x";
  EXPECT_TRUE(batch({"a.wav"}, "file").failedWithOneLine());
  EXPECT_EQ(batch({"a.wav"}, "out/").status, 0);
  EXPECT_TRUE(std::filesystem::exists(directory / "out/a.wav"));
}

}  // namespace
