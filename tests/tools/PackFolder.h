// Writing a folder of archive sources for a test.
#pragma once

#include <fstream>
#include <string>

#include "support/TemporaryDirectory.h"

inline void writeSource(const TemporaryDirectory& folder, const std::string& name, const std::string& text) {
  std::ofstream(folder / name, std::ios::binary) << text;
}

inline std::string fileText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline const char* const kInverterPreset = "processor inv\n0 = 0.5\n";
