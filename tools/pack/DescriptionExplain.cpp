#include "pack/DescriptionExplain.h"

#include <fstream>
#include <iterator>

#include "pack/ArchiveSources.h"
#include "pack/DescriptionCheck.h"
#include "pack/EntryPresetLoader.h"
#include "pack/GraphDot.h"
#include "pack/GraphExplanation.h"
#include "pack/PackError.h"

void explainDescriptionFile(const std::filesystem::path& file, ExplainFormat format, std::ostream& out) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream.is_open()) throw packError(file.string(), 0, "cannot be read");
  const std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  const std::vector<ArchiveEntry> sources = collectArchiveSources(folder);
  EntryPresetLoader presets(sources);
  const BuiltDescription description = buildDescription(text, file.string(), presets);
  if (format == ExplainFormat::kDot) {
    writeGraphDot(description, file.filename().string(), out);
  } else {
    explainGraph(description, presets.requested(), out);
  }
}
