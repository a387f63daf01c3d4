// "-" for standard input and output, through the echo test module (it
// doubles its input and reports a tail of 3 samples).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "CommandRun.h"
#include "TestAudio.h"
#include "support/TemporaryDirectory.h"

namespace {

std::string bytesOf(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Scratch files go to a directory of the test's, so it can see that none
// stay behind.
class StreamCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("TMPDIR");
    if (previous) restoreTemporary = previous;
    setenv("TMPDIR", scratch.path().c_str(), 1);
    writeTestAudio(files / "in.flac", {2, 48000, interleaved(quiet(3000, 110.0), quiet(3000, 220.0))},
                   SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    ASSERT_EQ(CommandRun({"--module", ECHO_MODULE_PATH, path("in.flac"), path("reference.wav")}).status, 0);
  }

  void TearDown() override {
    EXPECT_TRUE(fileNamesIn(scratch.path()).empty());
    if (restoreTemporary.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", restoreTemporary.c_str(), 1);
    }
  }

  static std::vector<float> quiet(std::size_t frames, double frequency) {
    std::vector<float> samples = pluckLikeSignal(frames, frequency, 48000.0);
    for (float& sample : samples) sample *= 0.5f;
    return samples;
  }

  std::string path(const std::string& name) const { return (files / name).string(); }

  CommandRun render(const std::string& input, const std::string& output,
                    const std::string& standardInput = {}) {
    return CommandRun({"--module", ECHO_MODULE_PATH, input, output}, false, standardInput);
  }

  TemporaryDirectory scratch;
  TemporaryDirectory files;
  std::string restoreTemporary;
};

TEST_F(StreamCommandTest, ReadsStandardInputAndWritesStandardOutput) {
  const TestAudio reference = readTestAudio(files / "reference.wav");
  const CommandRun both = render("-", "-", bytesOf(files / "in.flac"));
  ASSERT_EQ(both.status, 0) << both.err;
  EXPECT_EQ(
      both.err.rfind("wrote standard output: 3003 frames, 2 channels at 48000 Hz (tail 0.00 s), peak ", 0),
      0u)
      << both.err;
  EXPECT_EQ(both.err.find('\n'), both.err.size() - 1) << both.err;
  std::ofstream(files / "both.wav", std::ios::binary) << both.out;
  EXPECT_EQ(readTestAudio(files / "both.wav").samples, reference.samples);

  const CommandRun fromInput = render("-", path("from-input.wav"), bytesOf(files / "in.flac"));
  ASSERT_EQ(fromInput.status, 0) << fromInput.err;
  EXPECT_EQ(fromInput.out.rfind("wrote " + path("from-input.wav") + ": 3003 frames", 0), 0u) << fromInput.out;
  EXPECT_EQ(readTestAudio(files / "from-input.wav").samples, reference.samples);

  const CommandRun toOutput = render(path("in.flac"), "-");
  ASSERT_EQ(toOutput.status, 0) << toOutput.err;
  // Samples, not bytes: the file's peak chunk carries the second it was written.
  std::ofstream(files / "to-output.wav", std::ios::binary) << toOutput.out;
  EXPECT_EQ(readTestAudio(files / "to-output.wav").samples, reference.samples);
}

TEST_F(StreamCommandTest, RefusesEmptyOrDamagedStandardInputInOneLine) {
  for (const auto& [input, mentions] : {std::pair{"", "cannot read standard input: it is empty"},
                                        std::pair{"RIFF, no audio", "cannot read standard input: "}}) {
    const CommandRun run = render("-", "-", input);
    EXPECT_TRUE(run.failedWithOneLine()) << run.err;
    EXPECT_EQ(run.err.rfind("torvix-render: " + std::string(mentions), 0), 0u) << run.err;
  }
  const CommandRun wrongOutput = render("-", path("out.mp3"), bytesOf(files / "in.flac"));
  EXPECT_TRUE(wrongOutput.failedWithOneLine()) << wrongOutput.err;
  EXPECT_EQ(fileNamesIn(files.path()), (std::set<std::string>{"in.flac", "reference.wav"}));
}

}  // namespace
