#include "TestAudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

std::vector<float> TestAudio::channel(int index) const {
  std::vector<float> samplesOfChannel;
  for (std::size_t i = static_cast<std::size_t>(index); i < samples.size(); i += channels) {
    samplesOfChannel.push_back(samples[i]);
  }
  return samplesOfChannel;
}

void writeTestAudio(const std::filesystem::path& path, const TestAudio& audio, int format) {
  SF_INFO info{};
  info.channels = audio.channels;
  info.samplerate = audio.sampleRate;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  EXPECT_EQ(sf_writef_float(file, audio.samples.data(), audio.frames()), audio.frames());
  EXPECT_EQ(sf_close(file), 0);
}

TestAudio readTestAudio(const std::filesystem::path& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return {};
  TestAudio audio{info.channels, info.samplerate, std::vector<float>(info.frames * info.channels),
                  info.format};
  audio.samples.resize(static_cast<std::size_t>(sf_readf_float(file, audio.samples.data(), info.frames)) *
                       info.channels);
  sf_close(file);
  return audio;
}

std::vector<float> pluckLikeSignal(std::size_t frames, double frequency, double sampleRate) {
  std::vector<float> samples(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / sampleRate;
    samples[i] = static_cast<float>(0.7 * std::exp(-2.0 * t) *
                                    (std::sin(2.0 * std::numbers::pi * frequency * t) +
                                     0.4 * std::sin(2.0 * std::numbers::pi * 3.0 * frequency * t)));
  }
  return samples;
}

std::vector<float> interleaved(const std::vector<float>& left, const std::vector<float>& right) {
  std::vector<float> both;
  for (std::size_t i = 0; i < left.size(); ++i) {
    both.push_back(left[i]);
    both.push_back(right[i]);
  }
  return both;
}
