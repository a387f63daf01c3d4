// torvix-lv2-turtle BUNDLE   writes the Turtle of the LV2 bundle BUNDLE from
// the graph descriptions of the archive BUNDLE/a.zip.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

#include "effect/ArchiveDescriptions.h"
#include "effect/ArchiveSession.h"
#include "effect/ModuleDirectory.h"
#include "lv2turtle/BundleTurtle.h"

namespace {

namespace fs = std::filesystem;

// Written beside the target and renamed over it, so no partial file remains.
bool writeWhole(const fs::path& target, const std::string& text) {
  const fs::path staged = target.string() + ".part";
  {
    std::ofstream out(staged, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) {
      std::error_code error;
      fs::rename(staged, target, error);
      if (!error) return true;
    }
  }
  std::error_code ignored;
  fs::remove(staged, ignored);
  std::cerr << "torvix-lv2-turtle: cannot write " << target.string() << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: torvix-lv2-turtle BUNDLE   (reads BUNDLE/a.zip, writes BUNDLE/"
              << BundleTurtle::kManifestFile << " and BUNDLE/" << BundleTurtle::kPluginFile << ")\n";
    return 2;
  }
  const fs::path bundle = argv[1];
  setModuleDirectory(bundle.string() + "/");
  std::vector<std::string> sounds;
  {
    const ArchiveSession session;
    if (!session.isOpen()) {
      std::cerr << "torvix-lv2-turtle: cannot open the archive " << (bundle / "a.zip").string() << "\n";
      return 1;
    }
    sounds = listArchiveDescriptions();
  }
  const BundleTurtle turtle(std::move(sounds), TORVIX_LV2_MINOR_VERSION, TORVIX_LV2_MICRO_VERSION);
  const bool written = writeWhole(bundle / BundleTurtle::kManifestFile, turtle.manifest()) &&
                       writeWhole(bundle / BundleTurtle::kPluginFile, turtle.plugin());
  return written ? 0 : 1;
}
