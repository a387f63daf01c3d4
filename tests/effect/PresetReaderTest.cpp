#include <fstream>
#include <iterator>

#include "ArchiveTest.h"
#include "effect/PresetReader.h"
#include "support/RecordingEffect.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

namespace {

class PresetReaderTest : public ArchiveTest {
 protected:
  void openWith(const std::vector<ZipFixtureMember>& members) {
    writeArchive("a.zip", members);
    ASSERT_TRUE(openArchive());
    traces.clear();
  }

  RecordingEffect processor;
};

}  // namespace

TEST_F(PresetReaderTest, EveryValueGoesToItsIndexWithTraces) {
  openWith({{"p.fxp", fxpBytes(3, {0.25f, -1.5f, 1e-3f})}});
  EXPECT_TRUE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, ElementsAre(Pair(0, 0.25f), Pair(1, -1.5f), Pair(2, 1e-3f)));
  EXPECT_THAT(traces.messages(), ElementsAre("loading p.fxp;", "fx:0.250000;", "fx:-1.500000;",
                                             "fx:0.001000;", "loaded p.fxp;"));
}

TEST_F(PresetReaderTest, StoredAndDeflatedPresetsBothApply) {
  std::string bytes = fxpBytes(2, {0.5f, 0.75f});
  openWith({{"stored.fxp", bytes, false}, {"deflated.fxp", bytes, true}});
  EXPECT_TRUE(readPreset(&processor, "stored.fxp"));
  EXPECT_TRUE(readPreset(&processor, "deflated.fxp"));
  EXPECT_THAT(processor.changes, ElementsAre(Pair(0, 0.5f), Pair(1, 0.75f), Pair(0, 0.5f), Pair(1, 0.75f)));
}

TEST_F(PresetReaderTest, MemberIsFoundWhateverTheCaseOfItsName) {
  openWith({{"Bass.FXP", fxpBytes(1, {0.125f})}});
  EXPECT_TRUE(readPreset(&processor, "bass.fxp"));
  EXPECT_THAT(processor.changes, ElementsAre(Pair(0, 0.125f)));
}

TEST_F(PresetReaderTest, WrongChunkMagicIsStillApplied) {
  openWith({{"p.fxp", fxpBytes(1, {0.5f}, "XXXX")}});
  EXPECT_TRUE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, ElementsAre(Pair(0, 0.5f)));
}

// --- Short and odd headers.

TEST_F(PresetReaderTest, MissingMemberSetsNothing) {
  openWith({{"other.fxp", fxpBytes(1, {0.5f})}});
  EXPECT_FALSE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, IsEmpty());
  EXPECT_THAT(traces.messages(), ElementsAre("loading p.fxp;", "Can't open fxp:p.fxp\n"));
}

TEST_F(PresetReaderTest, NoArchiveOpenSetsNothing) {
  EXPECT_FALSE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, IsEmpty());
  EXPECT_THAT(traces.messages(), ElementsAre("loading p.fxp;", "Can't open fxp:p.fxp\n"));
}

TEST_F(PresetReaderTest, PresetOf20BytesSetsNothingAndFails) {
  openWith({{"p.fxp", fxpBytes(1, {0.5f}).substr(0, 20)}});
  EXPECT_FALSE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, IsEmpty());
  EXPECT_THAT(traces.messages(), ElementsAre("loading p.fxp;"));
}

TEST_F(PresetReaderTest, HeaderThroughNumParamsIsEnough) {
  openWith({{"p.fxp", fxpBytes(3, {0.5f}).substr(0, 28)}, {"q.fxp", fxpBytes(3, {0.5f}).substr(0, 27)}});
  EXPECT_TRUE(readPreset(&processor, "p.fxp"));
  EXPECT_FALSE(readPreset(&processor, "q.fxp"));
  EXPECT_THAT(processor.changes, IsEmpty());
}

TEST_F(PresetReaderTest, ValuesMissingAtTheEndAreSkipped) {
  openWith({{"p.fxp", fxpBytes(7, {0.f, 0.1f, 0.2f, 0.3f, 0.4f})}});
  EXPECT_TRUE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes,
              ElementsAre(Pair(0, 0.f), Pair(1, 0.1f), Pair(2, 0.2f), Pair(3, 0.3f), Pair(4, 0.4f)));
  EXPECT_EQ(traces.messages().back(), "loaded p.fxp;");
}

TEST_F(PresetReaderTest, PartialLastValueIsSkipped) {
  std::string bytes = fxpBytes(3, {0.5f, 0.25f, 0.125f});
  openWith({{"p.fxp", bytes.substr(0, bytes.size() - 1)}});
  EXPECT_TRUE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, ElementsAre(Pair(0, 0.5f), Pair(1, 0.25f)));
}

TEST_F(PresetReaderTest, ValuesBeyondNumParamsAreNotRead) {
  openWith({{"p.fxp", fxpBytes(2, {0.5f, 0.25f, 0.125f})}});
  EXPECT_TRUE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, ElementsAre(Pair(0, 0.5f), Pair(1, 0.25f)));
}

TEST_F(PresetReaderTest, ZeroOrNegativeNumParamsSetsNothing) {
  openWith({{"zero.fxp", fxpBytes(0, {0.5f})},
            {"negative.fxp", fxpBytes(-1, {0.5f})},
            {"lowest.fxp", fxpBytes(INT32_MIN, {0.5f})}});
  EXPECT_TRUE(readPreset(&processor, "zero.fxp"));
  EXPECT_TRUE(readPreset(&processor, "negative.fxp"));
  EXPECT_TRUE(readPreset(&processor, "lowest.fxp"));
  EXPECT_THAT(processor.changes, IsEmpty());
}

// A crafted count must not make the reader try two thousand million reads.
TEST_F(PresetReaderTest, HugeNumParamsStopsAtTheEndOfTheMember) {
  openWith({{"p.fxp", fxpBytes(INT32_MAX, {0.5f, 0.25f})}});
  EXPECT_TRUE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, ElementsAre(Pair(0, 0.5f), Pair(1, 0.25f)));
}

TEST_F(PresetReaderTest, CorruptMemberSetsNothing) {
  std::string bytes = fxpBytes(4, {0.5f, 0.25f, 0.125f, 0.0625f});
  writeArchive("a.zip", {{"p.fxp", bytes, false}});
  std::string archive;
  {
    std::ifstream file(directory / "a.zip", std::ios::binary);
    archive.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  archive[archive.find(bytes) + bytes.size() - 1] ^= 0x01;
  std::ofstream(directory / "a.zip", std::ios::binary | std::ios::trunc) << archive;
  ASSERT_TRUE(openArchive());
  traces.clear();
  EXPECT_FALSE(readPreset(&processor, "p.fxp"));
  EXPECT_THAT(processor.changes, IsEmpty());
  EXPECT_THAT(traces.messages(), ElementsAre("loading p.fxp;", "Can't read fxp:p.fxp\n"));
}
