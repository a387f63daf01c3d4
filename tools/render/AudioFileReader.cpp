#include "render/AudioFileReader.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "render/RenderError.h"

namespace {

// libsndfile reads standard input for the name "-"; a file of that name is
// meant here.
std::string openableName(const std::string& path) { return path == "-" ? "./-" : path; }

// Sizes that streaming writers put in a header before they know the length.
bool isPlaceholderSize(unsigned long long size) { return size == 0 || size == 0xffffffffull; }

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
  noteTruncatedChunk();
}

// libsndfile corrects a WAV or AIFF audio chunk that runs past the end of
// the file and says so only in its log: "data : 336384 (should be 199956)".
void AudioFileReader::noteTruncatedChunk() {
  std::string log(4096, '\0');
  sf_command(file, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()));
  std::istringstream lines(log.c_str());
  for (std::string line; std::getline(lines, line);) {
    char chunk[8] = {};
    unsigned long long announced = 0;
    unsigned long long held = 0;
    if (std::sscanf(line.c_str(), " %7s : %llu (should be %llu)", chunk, &announced, &held) == 3 &&
        (std::string(chunk) == "data" || std::string(chunk) == "SSND") && announced > held &&
        !isPlaceholderSize(announced)) {
      truncationNote = "its " + std::string(chunk) + " chunk announces " + std::to_string(announced) +
                       " bytes, the file holds " + std::to_string(held);
    }
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
  framesRead += done;
  if (done == 0 && truncationNote.empty() && frames() > framesRead) {
    truncationNote = "its header announces " + std::to_string(frames()) + " frames, " +
                     std::to_string(framesRead) + " could be read";
  }
  return static_cast<std::int64_t>(done);
}
