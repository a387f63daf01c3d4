// Fixture for tests of the resource archive: a module directory of the
// test's own, in which the test writes real ZIP files.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "effect/ModuleDirectory.h"
#include "effect/ResourceArchive.h"
#include "frame/VstInterface.h"
#include "support/TemporaryDirectory.h"
#include "support/TraceCapture.h"
#include "support/ZipFixture.h"

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setModuleDirectory(directory.path().string() +
                       static_cast<char>(std::filesystem::path::preferred_separator));
  }
  void TearDown() override {
    closeArchive();
    setModuleDirectory("");
  }

  void writeArchive(const std::string& fileName, const std::vector<ZipFixtureMember>& members) {
    ASSERT_TRUE(writeZipFixture(directory / fileName, members));
  }

  std::string pathOf(const std::string& fileName) const { return moduleDirectory() + fileName; }

  TemporaryDirectory directory;
  TraceCapture traces;
};

// FXP program bytes written field by field, big-endian: chunk magic, byte
// size, "FxCk", version 1, unique ID, effect version 1, numParams, a 28-byte
// name, then the values.
inline std::string fxpBytes(VstInt32 numParams, const std::vector<float>& values,
                            const char* chunkMagic = "CcnK") {
  auto bigEndian = [](std::uint32_t word) {
    return std::string{static_cast<char>(word >> 24), static_cast<char>(word >> 16),
                       static_cast<char>(word >> 8), static_cast<char>(word)};
  };
  std::string body = "FxCk" + bigEndian(1) + "zrii" + bigEndian(1) +
                     bigEndian(static_cast<std::uint32_t>(numParams)) +
                     std::string("test program").append(16, '\0');
  for (float value : values) body += bigEndian(std::bit_cast<std::uint32_t>(value));
  return std::string(chunkMagic, 4) + bigEndian(static_cast<std::uint32_t>(body.size())) + body;
}
