#include "render/FactorOneArchive.h"

#include <tinyxml.h>
#include <unzip.h>

#include <memory>
#include <vector>

#include "pack/ArchiveWriter.h"
#include "pack/PackError.h"
#include "render/RenderError.h"

namespace {

// Where the module looks, in its order.
constexpr const char* kArchiveNames[] = {"a.zip", "torvix.data"};

using ZipReader = std::unique_ptr<void, decltype(&unzClose)>;

ZipReader openArchive(const std::filesystem::path& directory) {
  for (const char* name : kArchiveNames) {
    if (unzFile zip = unzOpen((directory / name).string().c_str())) return {zip, &unzClose};
  }
  throw RenderError("no archive in " + directory.string() + " to run at oversampling 1");
}

std::vector<char> currentMember(unzFile zip, const std::string& name) {
  unz_file_info info{};
  if (unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
      unzOpenCurrentFile(zip) != UNZ_OK) {
    throw RenderError("cannot read " + name + " of the archive");
  }
  std::vector<char> bytes(info.uncompressed_size);
  const int read =
      bytes.empty() ? 0 : unzReadCurrentFile(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
  unzCloseCurrentFile(zip);
  if (read != static_cast<int>(bytes.size())) throw RenderError("cannot read " + name + " of the archive");
  return bytes;
}

// The description with its root's "oversampling" taken away; as it was when it does not parse.
std::vector<char> atFactorOne(const std::vector<char>& bytes) {
  TiXmlDocument document;
  document.Parse(std::string(bytes.begin(), bytes.end()).c_str());
  TiXmlElement* root = document.FirstChildElement("torvix");
  if (document.Error() || !root) return bytes;
  root->RemoveAttribute("oversampling");
  TiXmlPrinter printer;
  document.Accept(&printer);
  const std::string text = printer.Str();
  return {text.begin(), text.end()};
}

}  // namespace

FactorOneArchive::FactorOneArchive(const std::string& archiveDirectory) : stage("factor-one archive") {
  const ZipReader zip = openArchive(archiveDirectory);
  std::vector<ArchiveEntry> entries;
  for (int more = unzGoToFirstFile(zip.get()); more == UNZ_OK; more = unzGoToNextFile(zip.get())) {
    char name[512] = {};
    unz_file_info info{};
    unzGetCurrentFileInfo(zip.get(), &info, name, sizeof name - 1, nullptr, 0, nullptr, 0);
    std::vector<char> bytes = currentMember(zip.get(), name);
    const bool description = std::string(name).find(".xml") != std::string::npos;
    entries.push_back({name, description ? atFactorOne(bytes) : std::move(bytes), name});
  }
  try {
    writeArchive(stage.path() / "a.zip", entries);
  } catch (const PackError& error) {
    throw RenderError(error.what());
  }
}

bool FactorOneArchive::existsIn(const std::string& archiveDirectory) {
  for (const char* name : kArchiveNames) {
    if (std::filesystem::is_regular_file(std::filesystem::path(archiveDirectory) / name)) return true;
  }
  return false;
}

std::string FactorOneArchive::directory() const { return stage.path().string(); }
