#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PackFolder.h"
#include "pack/ArchiveSources.h"
#include "pack/FxpProgram.h"
#include "pack/PackError.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::vector<std::string> namesOf(const std::vector<ArchiveEntry>& entries) {
  std::vector<std::string> names;
  for (const ArchiveEntry& entry : entries) names.push_back(entry.name);
  return names;
}

std::string errorOf(const TemporaryDirectory& folder) {
  try {
    collectArchiveSources(folder.path());
  } catch (const PackError& error) {
    return error.what();
  }
  return "";
}

// Where the file system folds case (Windows), two names differing only in
// case are one file, so such a folder cannot be made.
bool namesAreOneFile(const TemporaryDirectory& folder, const std::string& first, const std::string& second) {
  return std::filesystem::equivalent(folder / first, folder / second);
}

}  // namespace

TEST(ArchiveSources, DescriptionsAreCopiedAndPresetsEncodedInFileNameOrder) {
  TemporaryDirectory folder;
  writeSource(folder, "b.xml", "<torvix/>\r\n");
  writeSource(folder, "a.preset", kInverterPreset);
  writeSource(folder, "CMakeLists.txt", "not a source");
  writeSource(folder, "notes.md", "not a source");
  std::filesystem::create_directory(folder / "sub.xml");
  std::vector<ArchiveEntry> entries = collectArchiveSources(folder.path());
  ASSERT_THAT(namesOf(entries), ElementsAre("a.fxp", "b.xml"));
  EXPECT_EQ(entries[0].bytes, encodeFxp(CCONST('z', 'r', 'i', 'n'), 1, "a", {0.5f}));
  EXPECT_EQ(std::string(entries[1].bytes.begin(), entries[1].bytes.end()), "<torvix/>\r\n");
}

TEST(ArchiveSources, ShippedSourcesHoldBothInputFilterPresets) {
  std::vector<ArchiveEntry> entries = collectArchiveSources(TORVIX_DATA_DIR);
  std::vector<std::string> names = namesOf(entries);
  EXPECT_THAT(names, ::testing::Contains("bass.fxp"));
  EXPECT_THAT(names, ::testing::Contains("lo_mid.fxp"));
}

TEST(ArchiveSources, BadPresetIsRefusedWithItsFileAndLine) {
  TemporaryDirectory folder;
  writeSource(folder, "p.preset", "processor eq\nOrder = 0\nKay = 1\n");
  EXPECT_EQ(errorOf(folder), (folder / "p.preset").string() + ":3: unknown parameter 'Kay' for eq");
}

TEST(ArchiveSources, NamesDifferingOnlyInCaseAreDuplicates) {
  TemporaryDirectory folder;
  writeSource(folder, "Bass.preset", kInverterPreset);
  writeSource(folder, "bass.preset", kInverterPreset);
  if (namesAreOneFile(folder, "Bass.preset", "bass.preset")) GTEST_SKIP() << "the file system folds case";
  EXPECT_EQ(errorOf(folder), (folder / "bass.preset").string() +
                                 ": duplicate member 'bass.fxp' (also made from " +
                                 (folder / "Bass.preset").string() + ")");
}

TEST(ArchiveSources, DescriptionsDifferingOnlyInCaseAreDuplicates) {
  TemporaryDirectory folder;
  writeSource(folder, "y.xml", "<torvix/>");
  writeSource(folder, "Y.xml", "<torvix/>");
  if (namesAreOneFile(folder, "y.xml", "Y.xml")) GTEST_SKIP() << "the file system folds case";
  EXPECT_THAT(errorOf(folder), HasSubstr("duplicate member 'y.xml'"));
}

TEST(ArchiveSources, PresetNamedLikeADescriptionIsRefused) {
  TemporaryDirectory folder;
  writeSource(folder, "a.xml.preset", kInverterPreset);
  EXPECT_EQ(errorOf(folder),
            (folder / "a.xml.preset").string() +
                ": member name 'a.xml.fxp' contains '.xml' and would be taken for a graph description");
}

TEST(ArchiveSources, NameTooLongForTheListingIsRefused) {
  TemporaryDirectory folder;
  writeSource(folder, std::string(95, 'n') + ".xml", "<torvix/>");
  EXPECT_EQ(errorOf(folder), "");
  writeSource(folder, std::string(96, 'n') + ".xml", "<torvix/>");
  EXPECT_THAT(errorOf(folder), HasSubstr("is too long (at most 99 characters)"));
}

TEST(ArchiveSources, MissingFolderIsRefused) {
  EXPECT_THROW(collectArchiveSources("/nonexistent/torvix/data"), PackError);
}
