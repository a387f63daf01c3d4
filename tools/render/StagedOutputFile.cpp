#include "render/StagedOutputFile.h"

#include <cerrno>
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

}  // namespace

StagedOutputFile::StagedOutputFile(std::filesystem::path destinationPath)
    : destination(std::move(destinationPath)) {
  std::random_device seed;
  std::mt19937_64 generator((static_cast<std::uint64_t>(seed()) << 32) ^ seed());
  const std::filesystem::path directory = destination.parent_path();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    staging = directory / ("." + destination.filename().string() + ".partial-" + randomSuffix(generator));
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
