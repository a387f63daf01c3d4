// A directory of its own for one test, removed with everything in it.
#pragma once

#include <filesystem>
#include <random>
#include <string>

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::random_device entropy;
    do {
      location = std::filesystem::temp_directory_path() / ("torvix-test-" + std::to_string(entropy()));
    } while (!std::filesystem::create_directory(location));
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(location, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return location; }
  std::filesystem::path operator/(const std::string& name) const { return location / name; }

 private:
  std::filesystem::path location;
};
