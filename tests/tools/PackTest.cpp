// torvix-pack end to end: sources to archive, archive to the plug-in's
// preset reader, archive back to text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "PackFolder.h"
#include "effect/ArchiveSession.h"
#include "effect/ModuleDirectory.h"
#include "effect/PresetReader.h"
#include "pack/ArchiveLister.h"
#include "pack/ArchiveSources.h"
#include "pack/ArchiveWriter.h"
#include "pack/FxpProgram.h"
#include "pack/PackError.h"
#include "pack/PresetText.h"
#include "processors/ZrIIRFilter.h"
#include "support/OneChannelHost.h"
#include "support/RecordingEffect.h"
#include "support/ZipFixture.h"

using ::testing::ElementsAre;
using ::testing::Pair;

namespace {

constexpr const char* kClipperPreset =
    "processor clip\nPre-gain = 0.5\nClip positive = 0.3333333\nClip negative = 1e-07\nPost-gain = 0.0625\n"
    "Average time = 12.5\n";

// The lines of the listing's section for one member, comments left out.
std::string listedText(const std::string& listing, const std::string& member) {
  std::istringstream lines(listing);
  std::string line, text;
  bool inside = false;
  while (std::getline(lines, line)) {
    if (line.starts_with("== "))
      inside = line == "== " + member;
    else if (inside && !line.starts_with("#"))
      text += line + "\n";
  }
  return text;
}

std::string listing(const std::filesystem::path& archive) {
  std::ostringstream out;
  listArchive(archive.string(), out);
  return out.str();
}

std::string display(ZrIIRFilter& filter, VstInt32 index) {
  char text[64] = {};
  filter.getParameterDisplay(index, text);
  return text;
}

class PackTest : public ::testing::Test {
 protected:
  void pack() { writeArchive(output / "a.zip", collectArchiveSources(sources.path())); }

  // Reads the member into a fresh processor from the archive in output.
  bool load(AudioEffect& processor, const char* member) {
    setModuleDirectory(output.path().string() +
                       static_cast<char>(std::filesystem::path::preferred_separator));
    ArchiveSession session;
    bool loaded = session.isOpen() && readPreset(&processor, member);
    setModuleDirectory("");
    return loaded;
  }

  TemporaryDirectory sources;
  TemporaryDirectory output;
};

}  // namespace

TEST_F(PackTest, PresetTextReachesTheProcessorAndListsBackTheSame) {
  writeSource(sources, "dist.preset", std::string("# the clipper\n") + kClipperPreset);
  writeSource(sources, "graph.xml", "<torvix/>");
  pack();

  RecordingEffect processor;
  EXPECT_TRUE(load(processor, "dist.fxp"));
  EXPECT_THAT(processor.changes, ElementsAre(Pair(0, 0.5f), Pair(1, 0.3333333f), Pair(2, 1e-07f),
                                             Pair(3, 0.0625f), Pair(4, 12.5f)));

  std::string listed = listing(output / "a.zip");
  EXPECT_EQ(listedText(listed, "dist.fxp"), kClipperPreset);
  EXPECT_THAT(listed, ::testing::HasSubstr("== graph.xml (9 bytes)\n"));
}

TEST_F(PackTest, ShippedPresetsListBackAsTheyParse) {
  writeArchive(output / "a.zip", collectArchiveSources(TORVIX_DATA_DIR));
  std::string listed = listing(output / "a.zip");
  for (const char* name : {"bass", "lo_mid"}) {
    std::string source = fileText(std::filesystem::path(TORVIX_DATA_DIR) / (std::string(name) + ".preset"));
    EXPECT_EQ(listedText(listed, std::string(name) + ".fxp"),
              formatPresetText(parsePresetText(source, name)));
  }
}

// The input filters as the engine gets them: a low shelf in three passes and
// a single mid bell, both neutral until "Pre bass" moves.
TEST_F(PackTest, ShippedPresetsConfigureTheInputFilters) {
  writeArchive(output / "a.zip", collectArchiveSources(TORVIX_DATA_DIR));
  ZrIIRFilter bass(oneChannelHost);
  ASSERT_TRUE(load(bass, "bass.fxp"));
  EXPECT_EQ(display(bass, ZrIIRFilter::kOrder), "1");
  EXPECT_EQ(display(bass, ZrIIRFilter::kType), "low shelf");
  EXPECT_EQ(display(bass, ZrIIRFilter::kPasses), "3");
  EXPECT_EQ(bass.getParameter(ZrIIRFilter::kK), 0.5f);
  EXPECT_EQ(bass.getParameter(ZrIIRFilter::kPostGain), 1.0f);
  ZrIIRFilter loMid(oneChannelHost);
  ASSERT_TRUE(load(loMid, "lo_mid.fxp"));
  EXPECT_EQ(display(loMid, ZrIIRFilter::kOrder), "2");
  EXPECT_EQ(display(loMid, ZrIIRFilter::kPasses), "1");
  EXPECT_EQ(display(loMid, ZrIIRFilter::kFrequency), "488");
  EXPECT_EQ(loMid.getParameter(ZrIIRFilter::kK), 0.5f);
  EXPECT_EQ(loMid.getParameter(ZrIIRFilter::kPostGain), 1.0f);
}

TEST_F(PackTest, SameSourcesGiveTheSameBytes) {
  writeSource(sources, "p.preset", kClipperPreset);
  writeSource(sources, "g.xml", "<torvix/>");
  pack();
  std::string first = fileText(output / "a.zip");
  pack();
  EXPECT_EQ(fileText(output / "a.zip"), first);
}

TEST_F(PackTest, FailedWriteLeavesNoArchive) {
  std::filesystem::path unwritable = output / "missing-folder" / "a.zip";
  EXPECT_THROW(writeArchive(unwritable, {{"m", {'x'}, "m"}}), PackError);
  EXPECT_TRUE(std::filesystem::is_empty(output.path()));
}

// --- Listing archives made elsewhere.

TEST_F(PackTest, ListingShowsWhatIsUnusualAboutAProgram) {
  std::vector<char> foreign = encodeFxp(CCONST('X', 'y', 'z', '1'), 7, "other", {0.5f, 2.0f});
  std::vector<char> shortValues = encodeFxp(CCONST('z', 'r', 'i', 'n'), 1, "short", {0.5f});
  shortValues[27] = 3;
  shortValues[0] = 'X';
  auto asText = [](const std::vector<char>& bytes) { return std::string(bytes.begin(), bytes.end()); };
  ASSERT_TRUE(writeZipFixture(output / "other.zip", {{"other.fxp", asText(foreign)},
                                                     {"SHORT.FXP", asText(shortValues)},
                                                     {"tiny.fxp", "CcnK"},
                                                     {"readme.txt", "hello"}}));
  EXPECT_EQ(listing(output / "other.zip"),
            "== other.fxp\n"
            "# program \"other\", unique ID 'Xyz1', effect version 7, format version 1\n"
            "# no known processor has this unique ID\n"
            "0 = 0.5\n"
            "1 = 2\n"
            "== SHORT.FXP\n"
            "# program \"short\", unique ID 'zrin', effect version 1, format version 1\n"
            "# chunk magic is 'XcnK', not 'CcnK'\n"
            "# the header gives 3 values, 1 present\n"
            "processor inv\n"
            "0 = 0.5\n"
            "== tiny.fxp\n"
            "# 4 bytes: shorter than an FXP program header\n"
            "== readme.txt (5 bytes)\n");
}

TEST_F(PackTest, ListingRefusesWhatIsNoArchive) {
  writeSource(output, "bad.zip", "no archive");
  try {
    listing(output / "bad.zip");
    FAIL() << "no error";
  } catch (const PackError& error) {
    EXPECT_EQ(std::string(error.what()), (output / "bad.zip").string() + ": is not a readable ZIP archive");
  }
}

#ifdef TORVIX_PACK_PATH
// The command line: one line naming file and line, a non-zero status, and
// the previous archive left as it was.
TEST_F(PackTest, CommandRefusesBadInputAndKeepsThePreviousArchive) {
  writeSource(sources, "p.preset", kInverterPreset);
  pack();
  std::string previous = fileText(output / "a.zip");
  writeSource(sources, "q.preset", "processor inv\n0 = loud\n");
  std::string command = std::string(TORVIX_PACK_PATH) + " " + (output / "a.zip").string() + " " +
                        sources.path().string() + " 2>" + (output / "errors").string();
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_EQ(fileText(output / "errors"),
            (sources / "q.preset").string() + ":2: 'loud' is not a finite number\n");
  EXPECT_EQ(fileText(output / "a.zip"), previous);
  EXPECT_FALSE(std::filesystem::exists(output / "a.zip.partial"));
}

TEST_F(PackTest, CommandListsAnArchive) {
  writeSource(sources, "p.preset", kInverterPreset);
  pack();
  std::string command = std::string(TORVIX_PACK_PATH) + " --list " + (output / "a.zip").string() + " >" +
                        (output / "listing").string();
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(listedText(fileText(output / "listing"), "p.fxp"), kInverterPreset);
}

TEST_F(PackTest, CommandWithoutArgumentsShowsUsage) {
  std::string command = std::string(TORVIX_PACK_PATH) + " 2>" + (output / "errors").string();
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_THAT(fileText(output / "errors"), ::testing::HasSubstr("usage: torvix-pack"));
}
#endif
