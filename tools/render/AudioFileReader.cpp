#include "render/AudioFileReader.h"

#include <filesystem>

#include "render/RenderError.h"

namespace {

// libsndfile reads standard input for the name "-"; a file of that name is
// meant here.
std::string openableName(const std::string& path) { return path == "-" ? "./-" : path; }

}  // namespace

AudioFileReader::AudioFileReader(const std::string& path) : path(path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw RenderError("cannot read " + path + ": " +
                      (std::filesystem::exists(path, error) ? "not a regular file" : "no such file"));
  }
  file = sf_open(openableName(path).c_str(), SFM_READ, &info);
  if (!file) throw RenderError("cannot read " + path + ": " + sf_strerror(nullptr));
  if (info.channels < 1 || info.samplerate < 1) {
    sf_close(file);
    file = nullptr;
    throw RenderError("cannot read " + path + ": no audio channels");
  }
}

AudioFileReader::~AudioFileReader() {
  if (file) sf_close(file);
}

std::int64_t AudioFileReader::frames() const {
  const bool known = info.frames >= 0 && info.frames < SF_COUNT_MAX;
  return known ? static_cast<std::int64_t>(info.frames) : -1;
}

std::int64_t AudioFileReader::read(float* interleaved, std::int64_t count) {
  const sf_count_t done = sf_readf_float(file, interleaved, static_cast<sf_count_t>(count));
  if (done < count && sf_error(file) != SF_ERR_NO_ERROR) {
    throw RenderError("cannot read " + path + ": " + sf_strerror(file));
  }
  return static_cast<std::int64_t>(done);
}
