// readPreset over arbitrary member bytes: each input becomes the only member
// of a real archive, read into an effect that checks what it is given.
#include <cstddef>
#include <cstdint>
#include <string>

#include "effect/ArchiveSession.h"
#include "effect/ModuleDirectory.h"
#include "effect/PresetReader.h"
#include "effect/ResourceArchive.h"
#include "support/RecordingEffect.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"

namespace {

constexpr std::size_t kHeaderThroughNumParams = 28;
constexpr std::size_t kValuesOffset = 56;

std::int32_t numParamsOf(const std::uint8_t* data) {
  return static_cast<std::int32_t>(std::uint32_t{data[24]} << 24 | std::uint32_t{data[25]} << 16 |
                                   std::uint32_t{data[26]} << 8 | std::uint32_t{data[27]});
}

// What the reader may set: no more values than the header announces and the
// member holds, each at its own index in order.
bool plausible(const RecordingEffect& processor, const std::uint8_t* data, std::size_t size, bool loaded) {
  if (loaded != (size >= kHeaderThroughNumParams)) return false;
  std::size_t present = size >= kValuesOffset ? (size - kValuesOffset) / 4 : 0;
  std::int32_t announced = loaded ? numParamsOf(data) : 0;
  std::size_t allowed =
      announced > 0 ? std::min<std::size_t>(present, static_cast<std::size_t>(announced)) : 0;
  if (processor.changes.size() != allowed) return false;
  for (std::size_t i = 0; i < processor.changes.size(); ++i)
    if (processor.changes[i].first != static_cast<VstInt32>(i)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TemporaryDirectory directory;
  setModuleDirectory(directory.path().string() +
                     static_cast<char>(std::filesystem::path::preferred_separator));
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!writeZipFixture(directory / "a.zip", {{"p.fxp", bytes, size % 2 == 0}})) __builtin_trap();
  RecordingEffect processor;
  bool loaded = false;
  {
    ArchiveSession session;
    if (!session.isOpen()) __builtin_trap();
    loaded = readPreset(&processor, "p.fxp");
  }
  if (!plausible(processor, data, size, loaded)) __builtin_trap();
  return 0;
}
