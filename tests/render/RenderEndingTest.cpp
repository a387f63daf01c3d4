// How a render ends and what it says about its samples: the held output
// that trims a decayed tail and fades one that was cut, and the command's
// reports on the echo test module (it doubles its input, tail 3).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "CommandRun.h"
#include "TestAudio.h"
#include "render/HeldOutput.h"
#include "render/LevelMeter.h"
#include "render/NonFiniteSamples.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TailRule smallRule() {
  TailRule rule;
  rule.quietLevel = 0.001f;
  rule.quietRun = 4;
  rule.shortest = 2;
  rule.longest = 100;
  rule.fade = 3;
  return rule;
}

struct EndingCase {
  const char* name;
  std::vector<float> input;
  std::vector<float> tail;
  std::vector<float> expected;
};

// Input, then tail, in blocks of two frames, as the render loop adds them.
std::vector<float> heldThrough(const EndingCase& ending) {
  std::vector<float> written;
  HeldOutput held(1, smallRule(), [&](const float* samples, std::int64_t frames) {
    written.insert(written.end(), samples, samples + frames);
  });
  const auto addInBlocks = [&](const std::vector<float>& samples) {
    for (std::size_t at = 0; at < samples.size(); at += 2) {
      held.add(samples.data() + at, static_cast<std::int64_t>(std::min<std::size_t>(2, samples.size() - at)));
    }
  };
  addInBlocks(ending.input);
  held.markInputEnd();
  addInBlocks(ending.tail);
  const std::int64_t frames = held.finish();
  EXPECT_EQ(frames, static_cast<std::int64_t>(written.size()));
  return written;
}

TEST(HeldOutput, TrimsADecayedEndingAndFadesAnyOther) {
  const float half = 0.5f;
  const std::vector<EndingCase> cases{
      {"trimmed after the last loud sample",
       {1, 1},
       {half, half, half, 0.0005f, 0, 0, 0, 0},
       {1, 1, half, half, half}},
      {"never shorter than the reported tail", {1, 1}, {0, 0, 0, 0}, {1, 1, 0, 0}},
      {"the input is never trimmed", {1, 0, 0, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0}},
      {"cut before decaying: faded out", {1, 1, 1, 1}, {1, 1}, {1, 1, 1, 0.75f, 0.25f, 0}},
      {"a NaN is loud", {1}, {0, 0, 0, kNaN, 0, 0, 0, 0}, {1, 0, 0, 0, kNaN}},
  };
  for (const EndingCase& ending : cases) {
    const std::vector<float> written = heldThrough(ending);
    ASSERT_EQ(written.size(), ending.expected.size()) << ending.name;
    for (std::size_t i = 0; i < written.size(); ++i) {
      if (std::isnan(ending.expected[i])) {
        EXPECT_TRUE(std::isnan(written[i])) << ending.name << " at " << i;
      } else {
        EXPECT_NEAR(written[i], ending.expected[i], 1e-6) << ending.name << " at " << i;
      }
    }
  }
}

TEST(NonFiniteSamples, CountsThemAndSaysWhereTheFirstWas) {
  NonFiniteSamples check(2);
  const float clean[] = {0.1f, 0.2f, 0.3f, 0.4f};
  const float damaged[] = {0.1f, 0.2f, 0.3f, kNaN, std::numeric_limits<float>::infinity(), 0.0f};
  check.add(clean, 2);
  EXPECT_EQ(check.count(), 0);
  check.add(damaged, 3);
  EXPECT_EQ(check.count(), 2);
  EXPECT_EQ(check.description(4.0),
            "2 samples that are not finite (NaN or infinite), the first at 0.750 s (frame 3, channel 2)");
}

TEST(LevelMeter, GivesNoLevelOverSamplesThatAreNotFinite) {
  LevelMeter meter;
  const float samples[] = {0.5f, kNaN, -0.5f, kNaN};
  meter.add(samples, 4);
  EXPECT_EQ(levelsText(meter), "no level: 2 samples are not finite (NaN or infinite)");
  LevelMeter clean;
  clean.add(samples, 1);
  EXPECT_EQ(levelsText(clean), "peak -6.02 dBFS, RMS -6.02 dBFS");
}

class EchoReportTest : public ::testing::Test {
 protected:
  CommandRun render(const TestAudio& input, std::vector<std::string> options = {}) {
    writeTestAudio(directory / "in.wav", input);
    options.insert(options.begin(), {"--module", ECHO_MODULE_PATH});
    options.push_back((directory / "in.wav").string());
    options.push_back((directory / "out.wav").string());
    return CommandRun(options);
  }

  TemporaryDirectory directory;
};

TEST_F(EchoReportTest, AnEndingCutByTheLongestTailIsFadedOutWithAWarning) {
  const std::vector<float> loud(1000, 0.25f);
  const CommandRun run = render({1, 44100, loud}, {"--tail", "0"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("warning: " + (directory / "out.wav").string() + ": the sound had not decayed"),
            std::string::npos)
      << run.err;
  const TestAudio output = readTestAudio(directory / "out.wav");
  ASSERT_EQ(output.frames(), 1000);
  EXPECT_EQ(output.samples.back(), 0.0f);
  EXPECT_EQ(output.samples[1000 - 442], 0.5f);
  EXPECT_LT(output.samples[1000 - 220], 0.5f);
}

TEST_F(EchoReportTest, RefusesInputWithSamplesThatAreNotFinite) {
  std::vector<float> samples = interleaved(pluckLikeSignal(3000, 110.0), pluckLikeSignal(3000, 220.0));
  for (std::size_t frame = 2205; frame < 2215; ++frame) samples[2 * frame + 1] = kNaN;
  const CommandRun run = render({2, 44100, samples});
  EXPECT_TRUE(run.failedWithOneLine()) << run.err;
  EXPECT_NE(
      run.err.find("10 samples that are not finite (NaN or infinite), the first at 0.050 s (frame 2205, "
                   "channel 2)"),
      std::string::npos)
      << run.err;
  EXPECT_EQ(fileNamesIn(directory.path()), std::set<std::string>{"in.wav"});
}

TEST_F(EchoReportTest, CountsTheSamplesClippedAtFullScaleInIntegerOutput) {
  const std::vector<float> samples{0.25f, 0.5f, 0.6f, -0.7f, 0.4f, 0.0f};
  for (const char* format : {"16", "24"}) {
    const CommandRun run = render({1, 44100, samples}, {"--format", format});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("out.wav: 2 samples beyond full scale were clipped"), std::string::npos)
        << run.err;
  }
  const CommandRun floating = render({1, 44100, samples});
  EXPECT_EQ(floating.err, "");
  EXPECT_NE(floating.out.find("peak 2.92 dBFS"), std::string::npos) << floating.out;
}

TEST_F(EchoReportTest, WarnsOfATruncatedInputAndRendersWhatItHolds) {
  for (const int format : {SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_AIFF | SF_FORMAT_PCM_16}) {
    writeTestAudio(directory / "whole.wav", {1, 44100, pluckLikeSignal(4000, 110.0)}, format);
    std::filesystem::copy_file(directory / "whole.wav", directory / "in.wav",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(directory / "in.wav",
                                 std::filesystem::file_size(directory / "in.wav") - 2000);
    const std::vector<std::string> arguments{"--module", ECHO_MODULE_PATH, (directory / "in.wav").string(),
                                             (directory / "out.wav").string()};
    const CommandRun cut(arguments);
    ASSERT_EQ(cut.status, 0) << cut.err;
    EXPECT_NE(cut.err.find("in.wav is truncated (its "), std::string::npos) << cut.err;
    EXPECT_NE(cut.err.find(" bytes, the file holds 600"), std::string::npos) << cut.err;
    EXPECT_EQ(readTestAudio(directory / "out.wav").frames(), 3003);
    std::filesystem::copy_file(directory / "whole.wav", directory / "in.wav",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(CommandRun(arguments).err, "");
  }
}

TEST_F(EchoReportTest, RefusesSampleRatesOutsideTheAcceptedRange) {
  for (const int rate : {1000, 7999, 384001, 2000000}) {
    const CommandRun run = render({1, rate, pluckLikeSignal(500, 110.0)});
    EXPECT_TRUE(run.failedWithOneLine()) << rate << ": " << run.err;
    EXPECT_NE(run.err.find("sample rate of " + std::to_string(rate) + " Hz is outside 8000 to 384000 Hz"),
              std::string::npos)
        << run.err;
  }
  for (const int rate : {8000, 384000})
    EXPECT_EQ(render({1, rate, pluckLikeSignal(500, 110.0)}).status, 0) << rate;
}

}  // namespace
