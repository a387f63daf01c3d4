// Writing audio files through libsndfile.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <optional>
#include <string>

#include "render/SampleEncoding.h"
#include "render/StagedOutputFile.h"

// A WAV or FLAC file (chosen by the extension of its path) that is written
// under a staging name and appears under its own name only on commit().
// Integer encodings clip samples beyond -1..1 instead of wrapping them.
class AudioFileWriter {
 public:
  // No encoding: float for WAV, 24-bit for FLAC. Throws RenderError for an
  // extension other than .wav or .flac, float FLAC, or an unwritable place.
  AudioFileWriter(const std::string& path, int channels, int sampleRate,
                  std::optional<SampleEncoding> encoding);
  ~AudioFileWriter();
  AudioFileWriter(const AudioFileWriter&) = delete;
  AudioFileWriter& operator=(const AudioFileWriter&) = delete;

  void write(const float* interleaved, std::int64_t frames);
  // Samples beyond full scale that an integer encoding clipped so far.
  std::int64_t clippedSamples() const { return clipped; }
  // Completes the file and gives it its name.
  void commit();

 private:
  void close();
  [[noreturn]] void fail(const std::string& reason);

  std::string path;
  // libsndfile's container and sample format, settled before any file exists.
  int format;
  StagedOutputFile staged;
  SNDFILE* file = nullptr;
  int channels;
  std::int64_t clipped = 0;
};

// Throws RenderError unless the path ends in .wav or .flac (any case), so a
// run can refuse a bad OUTPUT before it does any work.
void checkAudioOutputName(const std::string& path);
