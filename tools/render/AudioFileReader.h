// Reading audio files through libsndfile.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

// An audio file open for reading (WAV, FLAC, AIFF, OGG and whatever else
// libsndfile reads), delivering interleaved float frames scaled to -1..1.
class AudioFileReader {
 public:
  // Throws RenderError naming the file when it is missing or unreadable.
  explicit AudioFileReader(const std::string& path);
  ~AudioFileReader();
  AudioFileReader(const AudioFileReader&) = delete;
  AudioFileReader& operator=(const AudioFileReader&) = delete;

  int channels() const { return info.channels; }
  int sampleRate() const { return info.samplerate; }
  // Frames in the file; -1 when the format cannot tell in advance.
  std::int64_t frames() const;

  // Reads up to count frames into interleaved; returns the frames read, 0 at
  // the end. Throws RenderError when the file turns out to be damaged.
  std::int64_t read(float* interleaved, std::int64_t count);

  // Why the file holds less audio than its header announces ("its data chunk
  // announces 336384 bytes, the file holds 199956"); empty for a whole
  // file. Complete once read() has returned 0.
  const std::string& truncation() const { return truncationNote; }

 private:
  void noteTruncatedChunk();

  std::string path;
  SF_INFO info{};
  SNDFILE* file = nullptr;
  std::int64_t framesRead = 0;
  std::string truncationNote;
};
