#include "render/StagedOutputFile.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "render/RenderError.h"

namespace {

constexpr int kNameAttempts = 16;

std::string randomSuffix(std::mt19937_64& generator) {
  static const char digits[] = "0123456789abcdef";
  std::string suffix;
  for (std::uint64_t bits = generator(); suffix.size() < 12; bits >>= 4) suffix += digits[bits & 15u];
  return suffix;
}

// Creates the file only if no file of that name exists ("x" mode), so two
// runs never share a staging file.
bool createExclusively(const std::filesystem::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  if (!file) return false;
  std::fclose(file);
  return true;
}

const std::string kStagingMark = ".partial-";

std::string stagingName(const std::filesystem::path& destination, std::mt19937_64& generator) {
  return "." + destination.filename().string() + kStagingMark + std::to_string(getpid()) + "-" +
         randomSuffix(generator);
}

bool allOf(const std::string& text, const char* characters) {
  return !text.empty() && text.find_first_not_of(characters) == std::string::npos;
}

bool isRandomSuffix(const std::string& text) { return text.size() == 12 && allOf(text, "0123456789abcdef"); }

bool processIsGone(const std::string& pid) {
  return pid.size() <= 9 && allOf(pid, "0123456789") && kill(static_cast<pid_t>(std::stol(pid)), 0) != 0 &&
         errno == ESRCH;
}

// Staging files of earlier versions carry no process id; a run writes its
// file all the time, so one untouched for this long is abandoned.
constexpr auto kAbandonedAfter = std::chrono::minutes(10);

bool untouchedForLong(const std::filesystem::path& path) {
  std::error_code error;
  const auto written = std::filesystem::last_write_time(path, error);
  return !error && std::filesystem::file_time_type::clock::now() - written > kAbandonedAfter;
}

// ".NAME.partial-PID-RANDOM" of a process that is gone, or an earlier
// version's ".NAME.partial-RANDOM" left alone for long.
bool isStaleStagingFile(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  const std::size_t mark = name.rfind(kStagingMark);
  if (name.front() != '.' || mark == std::string::npos) return false;
  const std::string rest = name.substr(mark + kStagingMark.size());
  const std::size_t dash = rest.find('-');
  if (dash == std::string::npos) return isRandomSuffix(rest) && untouchedForLong(path);
  return isRandomSuffix(rest.substr(dash + 1)) && processIsGone(rest.substr(0, dash));
}

void removeStaleStagingFiles(const std::filesystem::path& directory) {
  std::error_code error;
  std::filesystem::directory_iterator entry(directory.empty() ? "." : directory, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    std::error_code ignored;
    if (isStaleStagingFile(entry->path())) std::filesystem::remove(entry->path(), ignored);
  }
}

}  // namespace

StagedOutputFile::StagedOutputFile(std::filesystem::path destinationPath)
    : destination(std::move(destinationPath)) {
  std::random_device seed;
  std::mt19937_64 generator((static_cast<std::uint64_t>(seed()) << 32) ^ seed());
  const std::filesystem::path directory = destination.parent_path();
  removeStaleStagingFiles(directory);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    staging = directory / stagingName(destination, generator);
    if (createExclusively(staging)) return;
    if (errno != EEXIST) break;
  }
  const std::string reason = std::strerror(errno);
  staging.clear();
  throw RenderError("cannot write " + destination.string() + ": " + reason);
}

StagedOutputFile::~StagedOutputFile() {
  if (committed || staging.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(staging, ignored);
}

void StagedOutputFile::commit() {
  std::error_code error;
  std::filesystem::rename(staging, destination, error);
  if (error) throw RenderError("cannot write " + destination.string() + ": " + error.message());
  committed = true;
}
