// Audio files for torvix-render's tests, written and read with libsndfile.
#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

struct TestAudio {
  int channels = 1;
  int sampleRate = 44100;
  // Interleaved frames.
  std::vector<float> samples;
  // libsndfile's format of a file read back.
  int format = 0;

  std::int64_t frames() const { return static_cast<std::int64_t>(samples.size()) / channels; }
  std::vector<float> channel(int index) const;
};

// Writes the audio; fails the calling test when it cannot.
void writeTestAudio(const std::filesystem::path& path, const TestAudio& audio,
                    int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT);
// Reads a whole file; an empty TestAudio (no samples, format 0) when it cannot.
TestAudio readTestAudio(const std::filesystem::path& path);

// A decaying mixture of two sines, different for every seed frequency.
std::vector<float> pluckLikeSignal(std::size_t frames, double frequency, double sampleRate = 44100.0);
std::vector<float> interleaved(const std::vector<float>& left, const std::vector<float>& right);
