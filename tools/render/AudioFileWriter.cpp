#include "render/AudioFileWriter.h"

#include <cmath>
#include <filesystem>

#include "render/FileExtension.h"
#include "render/RenderError.h"

namespace {

int containerFormat(const std::string& path) {
  const std::string extension = lowerCaseExtension(path);
  if (extension == ".wav") return SF_FORMAT_WAV;
  if (extension == ".flac") return SF_FORMAT_FLAC;
  throw RenderError("cannot write " + path + ": the output must end in .wav or .flac");
}

int sampleFormat(const std::string& path, int container, std::optional<SampleEncoding> encoding) {
  const SampleEncoding chosen =
      encoding.value_or(container == SF_FORMAT_FLAC ? SampleEncoding::pcm24 : SampleEncoding::float32);
  switch (chosen) {
    case SampleEncoding::pcm16:
      return SF_FORMAT_PCM_16;
    case SampleEncoding::pcm24:
      return SF_FORMAT_PCM_24;
    case SampleEncoding::float32:
      break;
  }
  if (container == SF_FORMAT_FLAC)
    throw RenderError("cannot write " + path + ": FLAC holds 16 or 24 bits, not float");
  return SF_FORMAT_FLOAT;
}

int fileFormat(const std::string& path, std::optional<SampleEncoding> encoding) {
  const int container = containerFormat(path);
  return container | sampleFormat(path, container, encoding);
}

}  // namespace

void checkAudioOutputName(const std::string& path) { containerFormat(path); }

AudioFileWriter::AudioFileWriter(const std::string& path, int channels, int sampleRate,
                                 std::optional<SampleEncoding> encoding)
    : path(path), format(fileFormat(path, encoding)), staged(path), channels(channels) {
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = sampleRate;
  info.format = format;
  if (!sf_format_check(&info)) fail("unsupported channel count or sample rate");
  file = sf_open(staged.stagingPath().c_str(), SFM_WRITE, &info);
  if (!file) fail(sf_strerror(nullptr));
  if ((format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT) sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioFileWriter::~AudioFileWriter() { close(); }

void AudioFileWriter::write(const float* interleaved, std::int64_t frames) {
  if ((format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT) {
    for (std::int64_t i = 0; i < frames * channels; ++i) clipped += std::fabs(interleaved[i]) > 1.0f ? 1 : 0;
  }
  if (sf_writef_float(file, interleaved, static_cast<sf_count_t>(frames)) != frames) fail(sf_strerror(file));
}

void AudioFileWriter::commit() {
  if (sf_close(file) != 0) {
    file = nullptr;
    fail("the file could not be completed");
  }
  file = nullptr;
  staged.commit();
}

void AudioFileWriter::close() {
  if (file) sf_close(file);
  file = nullptr;
}

void AudioFileWriter::fail(const std::string& reason) {
  close();
  throw RenderError("cannot write " + path + ": " + reason);
}
