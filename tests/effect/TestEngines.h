// Engines made over an archive of the test's own, as the module makes them
// over the archive beside it.
#pragma once

#include <memory>
#include <vector>

#include "effect/VelkoranWin.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"

class TestEngines {
 public:
  TestEngines() = default;
  // Later tests find no module directory left behind.
  ~TestEngines();
  TestEngines(const TestEngines&) = delete;
  TestEngines& operator=(const TestEngines&) = delete;

  // Writes the archive that engines made from now on read.
  void useArchive(const std::vector<ZipFixtureMember>& members);
  // An engine over the archive last written.
  std::unique_ptr<VelkoranWin> make();
  std::unique_ptr<VelkoranWin> make(const std::vector<ZipFixtureMember>& members);

 private:
  TemporaryDirectory directory;
};

// One block through the engine: its output, from a buffer filled with 123 so
// that a sample left unwritten shows.
std::vector<float> processBlock(ZrVelkoranGeneric& engine, const std::vector<float>& input);
