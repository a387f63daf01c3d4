#include "TestEngines.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "effect/ModuleDirectory.h"

TestEngines::~TestEngines() { setModuleDirectory(""); }

void TestEngines::useArchive(const std::vector<ZipFixtureMember>& members) {
  EXPECT_TRUE(writeZipFixture(directory / "a.zip", members));
}

std::unique_ptr<VelkoranWin> TestEngines::make() {
  setModuleDirectory(directory.path().string() + static_cast<char>(std::filesystem::path::preferred_separator));
  return std::make_unique<VelkoranWin>();
}

std::unique_ptr<VelkoranWin> TestEngines::make(const std::vector<ZipFixtureMember>& members) {
  useArchive(members);
  return make();
}

std::vector<float> processBlock(ZrVelkoranGeneric& engine, const std::vector<float>& input) {
  std::vector<float> in = input;
  std::vector<float> out(input.size(), 123.0f);
  float* inputs[] = {in.data()};
  float* outputs[] = {out.data()};
  engine.processReplacing(inputs, outputs, static_cast<VstInt32>(input.size()));
  return out;
}
