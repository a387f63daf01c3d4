#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "CommandRun.h"
#include "TestAudio.h"
#include "render/AudioFileReader.h"
#include "render/AudioFileWriter.h"
#include "render/RenderError.h"
#include "render/StagedOutputFile.h"
#include "support/TemporaryDirectory.h"

namespace {

std::string contentOf(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(StagedOutputFile, AppearsUnderItsNameOnlyWhenCommitted) {
  TemporaryDirectory directory;
  std::ofstream(directory / "out.wav") << "old";
  {
    StagedOutputFile abandoned(directory / "out.wav");
    std::ofstream(abandoned.stagingPath()) << "half";
    EXPECT_EQ(fileNamesIn(directory.path()).size(), 2u);
  }
  EXPECT_EQ(fileNamesIn(directory.path()), std::set<std::string>{"out.wav"});
  EXPECT_EQ(contentOf(directory / "out.wav"), "old");
  StagedOutputFile completed(directory / "out.wav");
  std::ofstream(completed.stagingPath()) << "new";
  completed.commit();
  EXPECT_EQ(fileNamesIn(directory.path()), std::set<std::string>{"out.wav"});
  EXPECT_EQ(contentOf(directory / "out.wav"), "new");
}

TEST(StagedOutputFile, RefusesADirectoryThatDoesNotExist) {
  TemporaryDirectory directory;
  EXPECT_THROW(StagedOutputFile(directory / "missing/out.wav"), RenderError);
}

TEST(StagedOutputFile, RemovesTheStagingFilesOfRunsThatNoLongerExist) {
  TemporaryDirectory directory;
  const std::string live = ".a.wav.partial-" + std::to_string(getpid()) + "-0123456789ab";
  const std::string stale = ".b.flac.partial-999999999-0123456789ab";
  const std::string oldAbandoned = ".c.wav.partial-0123456789ab";
  const std::string oldRecent = ".e.wav.partial-0123456789ab";
  const std::set<std::string> foreign{
      "x.wav.partial-999999999-0123456789ab", ".c.wav.partial-999999999-0123456789",
      ".c.wav.partial-99x-0123456789ab", ".d.wav.partial-999999999-0123456789AB", "notes.txt"};
  std::set<std::string> names = foreign;
  names.insert({live, stale, oldAbandoned, oldRecent});
  for (const std::string& name : names) std::ofstream(directory / name) << "half";
  std::filesystem::last_write_time(directory / oldAbandoned,
                                   std::filesystem::file_time_type::clock::now() - std::chrono::minutes(11));
  {
    StagedOutputFile staged(directory / "out.wav");
    EXPECT_EQ(staged.stagingPath().filename().string().rfind(
                  ".out.wav.partial-" + std::to_string(getpid()) + "-", 0),
              0u);
  }
  names.erase(stale);
  names.erase(oldAbandoned);
  EXPECT_EQ(fileNamesIn(directory.path()), names);
}

TEST(AudioFiles, FloatWavKeepsEverySampleAndFlacKeeps24Bits) {
  TemporaryDirectory directory;
  const std::vector<float> samples = interleaved(pluckLikeSignal(3000, 220.0), pluckLikeSignal(3000, 330.0));
  for (const char* name : {"float.wav", "deep.flac"}) {
    AudioFileWriter writer((directory / name).string(), 2, 48000, std::nullopt);
    writer.write(samples.data(), 1000);
    writer.write(samples.data() + 2000, 2000);
    writer.commit();
  }
  const TestAudio wav = readTestAudio(directory / "float.wav");
  EXPECT_EQ(wav.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(wav.sampleRate, 48000);
  EXPECT_EQ(wav.samples, samples);
  const TestAudio flac = readTestAudio(directory / "deep.flac");
  EXPECT_EQ(flac.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  ASSERT_EQ(flac.samples.size(), samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_NEAR(flac.samples[i], samples[i], 1.0 / (1 << 23));
}

TEST(AudioFiles, IntegerOutputClipsInsteadOfWrapping) {
  TemporaryDirectory directory;
  const float loud[] = {1.5f, -2.0f, 0.5f};
  AudioFileWriter writer((directory / "loud.wav").string(), 1, 44100, SampleEncoding::pcm16);
  writer.write(loud, 3);
  writer.commit();
  const TestAudio audio = readTestAudio(directory / "loud.wav");
  EXPECT_EQ(audio.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ASSERT_EQ(audio.samples.size(), 3u);
  EXPECT_NEAR(audio.samples[0], 1.0f, 1e-4);
  EXPECT_NEAR(audio.samples[1], -1.0f, 1e-4);
  EXPECT_NEAR(audio.samples[2], 0.5f, 1e-4);
}

TEST(AudioFiles, RefusesOutputsItCannotWriteBeforeCreatingAnything) {
  TemporaryDirectory directory;
  EXPECT_THROW(AudioFileWriter((directory / "out.mp3").string(), 1, 44100, std::nullopt), RenderError);
  EXPECT_THROW(AudioFileWriter((directory / "out.flac").string(), 1, 44100, SampleEncoding::float32),
               RenderError);
  EXPECT_THROW(AudioFileWriter((directory / "out.flac").string(), 9, 44100, std::nullopt), RenderError);
  EXPECT_TRUE(fileNamesIn(directory.path()).empty());
  EXPECT_NO_THROW(checkAudioOutputName("OUT.WAV"));
  EXPECT_NO_THROW(checkAudioOutputName("a/b.Flac"));
}

TEST(AudioFiles, ReaderNamesTheFileItCannotRead) {
  TemporaryDirectory directory;
  std::ofstream(directory / "noise.wav") << "not a sound file";
  for (const std::string name : {"missing.wav", "noise.wav", ""}) {
    try {
      AudioFileReader reader((directory / name).string());
      ADD_FAILURE() << name;
    } catch (const RenderError& error) {
      EXPECT_NE(std::string(error.what()).find((directory / name).string()), std::string::npos)
          << error.what();
    }
  }
}

TEST(AudioFiles, ReaderDeliversFramesInPiecesUntilTheEnd) {
  TemporaryDirectory directory;
  const TestAudio audio{2, 22050, interleaved(pluckLikeSignal(700, 100.0), pluckLikeSignal(700, 150.0))};
  writeTestAudio(directory / "in.aiff", audio, SF_FORMAT_AIFF | SF_FORMAT_FLOAT);
  AudioFileReader reader((directory / "in.aiff").string());
  EXPECT_EQ(reader.channels(), 2);
  EXPECT_EQ(reader.sampleRate(), 22050);
  EXPECT_EQ(reader.frames(), 700);
  std::vector<float> all;
  std::vector<float> block(2 * 256);
  while (const std::int64_t frames = reader.read(block.data(), 256)) {
    all.insert(all.end(), block.begin(), block.begin() + frames * 2);
  }
  EXPECT_EQ(all, audio.samples);
}

}  // namespace
