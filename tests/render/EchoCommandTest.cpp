// The command on real files through the echo test module, which doubles its
// input and reports a tail of 3 samples.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "CommandRun.h"
#include "TestAudio.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr std::int64_t kEchoTail = 3;

std::vector<float> doubledWithTail(const std::vector<float>& samples, int channels) {
  std::vector<float> expected;
  for (const float sample : samples) expected.push_back(2.0f * sample);
  expected.insert(expected.end(), kEchoTail * channels, 0.0f);
  return expected;
}

class EchoCommandTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return (directory / name).string(); }

  CommandRun render(const std::string& input, const std::string& output,
                    std::vector<std::string> options = {}) {
    options.insert(options.begin(), {"--module", ECHO_MODULE_PATH});
    options.push_back(path(input));
    options.push_back(path(output));
    return CommandRun(options);
  }

  TemporaryDirectory directory;
};

TEST_F(EchoCommandTest, RendersAWavIntoAWavOfTheInputAndTheTail) {
  const TestAudio input{1, 44100, pluckLikeSignal(2000, 110.0)};
  writeTestAudio(directory / "in.wav", input);
  const CommandRun run = render("in.wav", "out.wav");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.err.empty());
  EXPECT_NE(run.out.find("2003 frames"), std::string::npos) << run.out;
  const TestAudio output = readTestAudio(directory / "out.wav");
  EXPECT_EQ(output.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(output.sampleRate, 44100);
  EXPECT_EQ(output.samples, doubledWithTail(input.samples, 1));
  EXPECT_EQ(fileNamesIn(directory.path()), (std::set<std::string>{"in.wav", "out.wav"}));
}

TEST_F(EchoCommandTest, EveryBlockSizeGivesTheSameFile) {
  const TestAudio input{1, 48000, pluckLikeSignal(1500, 200.0, 48000.0)};
  writeTestAudio(directory / "in.wav", input);
  for (const char* blockSize : {"1", "7", "512", "4096"}) {
    ASSERT_EQ(render("in.wav", "out.wav", {"--block-size", blockSize}).status, 0);
    EXPECT_EQ(readTestAudio(directory / "out.wav").samples, doubledWithTail(input.samples, 1)) << blockSize;
  }
}

TEST_F(EchoCommandTest, StereoRunsAsDualMono) {
  const TestAudio input{2, 44100, interleaved(pluckLikeSignal(1000, 110.0), pluckLikeSignal(1000, 440.0))};
  writeTestAudio(directory / "in.wav", input);
  ASSERT_EQ(render("in.wav", "out.wav", {"--block-size", "100"}).status, 0);
  const TestAudio output = readTestAudio(directory / "out.wav");
  EXPECT_EQ(output.channels, 2);
  EXPECT_EQ(output.samples, doubledWithTail(input.samples, 2));
}

TEST_F(EchoCommandTest, ReadsFlacAiffAndOgg) {
  const TestAudio input{
      2, 32000, interleaved(pluckLikeSignal(4000, 150.0, 32000.0), pluckLikeSignal(4000, 90.0, 32000.0))};
  writeTestAudio(directory / "in.flac", input, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  writeTestAudio(directory / "in.aiff", input, SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
  writeTestAudio(directory / "in.ogg", input, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
  for (const char* name : {"in.flac", "in.aiff", "in.ogg"}) {
    const CommandRun run = render(name, "out.wav");
    ASSERT_EQ(run.status, 0) << name << ": " << run.err;
    const TestAudio decoded = readTestAudio(directory / name);
    const TestAudio output = readTestAudio(directory / "out.wav");
    EXPECT_EQ(output.sampleRate, 32000) << name;
    EXPECT_EQ(output.samples, doubledWithTail(decoded.samples, 2)) << name;
  }
}

TEST_F(EchoCommandTest, WritesTheRequestedEncoding) {
  writeTestAudio(directory / "in.wav", {1, 44100, pluckLikeSignal(500, 110.0)});
  ASSERT_EQ(render("in.wav", "out.wav", {"--format", "16"}).status, 0);
  EXPECT_EQ(readTestAudio(directory / "out.wav").format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ASSERT_EQ(render("in.wav", "out.flac").status, 0);
  EXPECT_EQ(readTestAudio(directory / "out.flac").format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  ASSERT_EQ(render("in.wav", "out16.flac", {"--format=16"}).status, 0);
  EXPECT_EQ(readTestAudio(directory / "out16.flac").format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
}

// Every failure: one line, a non-zero status, and the directory as it was,
// including an output file that existed before.
class EchoFailureTest : public EchoCommandTest {
 protected:
  void SetUp() override {
    writeTestAudio(directory / "in.wav", {1, 44100, pluckLikeSignal(500, 110.0)});
    std::ofstream(directory / "noise.wav") << "RIFF, but no audio in it";
    std::ofstream(directory / "old.wav") << "keep me";
    before = fileNamesIn(directory.path());
  }

  void expectCleanFailure(const CommandRun& run, const std::string& mentions) {
    EXPECT_TRUE(run.failedWithOneLine()) << run.status << " [" << run.err << "] [" << run.out << "]";
    EXPECT_NE(run.err.find(mentions), std::string::npos) << run.err;
    EXPECT_EQ(fileNamesIn(directory.path()), before);
    std::ifstream old(directory / "old.wav");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "keep me");
  }

  std::set<std::string> before;
};

TEST_F(EchoFailureTest, MissingOrUnreadableInput) {
  expectCleanFailure(render("missing.wav", "out.wav"), "missing.wav");
  expectCleanFailure(render("noise.wav", "out.wav"), "noise.wav");
  expectCleanFailure(render("noise.wav", "old.wav"), "noise.wav");
  expectCleanFailure(render("", "out.wav"), "cannot read");
}

TEST_F(EchoFailureTest, UnknownParameterOrPreset) {
  expectCleanFailure(render("in.wav", "old.wav", {"--param", "Loudness=0.5"}), "Loudness");
  expectCleanFailure(render("in.wav", "out.wav", {"--pre-gain", "0.5"}), "pre-gain");
  expectCleanFailure(render("in.wav", "out.wav", {"--preset", "crunch"}), "Preset");
}

TEST_F(EchoFailureTest, ModuleThatFailsToLoadOrToCreateItsEffect) {
  const std::string notAModule = path("noise.wav");
  expectCleanFailure(render("in.wav", "out.wav", {"--module", path("missing.so")}), "missing.so");
  expectCleanFailure(CommandRun({"--module", notAModule, path("in.wav"), path("out.wav")}), notAModule);
  expectCleanFailure(CommandRun({"--module", NULL_MODULE_PATH, path("in.wav"), path("old.wav")}),
                     "created no effect");
  expectCleanFailure(CommandRun({"--module", NULL_MODULE_PATH, "--list"}), "created no effect");
}

TEST_F(EchoFailureTest, OutputThatCannotBeWritten) {
  expectCleanFailure(render("in.wav", "out.mp3"), "out.mp3");
  expectCleanFailure(render("in.wav", "in.wav"), "input");
  expectCleanFailure(render("in.wav", "no-such-directory/out.wav"), "no-such-directory");
}

TEST_F(EchoFailureTest, WrongCommandLinesPointAtHelp) {
  const CommandRun run({"--block-size", "0", path("in.wav"), path("out.wav")});
  expectCleanFailure(run, "--help");
  EXPECT_EQ(run.status, 2);
  const CommandRun help({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: torvix-render"), std::string::npos);
}

TEST(EchoListing, PrintsNamesAndParameters) {
  const CommandRun run({"--module", ECHO_MODULE_PATH, "--list"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Effect:     Echo\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Tail:       3 samples\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Descriptions: none\n"), std::string::npos) << run.out;
}

}  // namespace
