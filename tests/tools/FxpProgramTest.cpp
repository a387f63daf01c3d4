#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pack/FxpProgram.h"

using ::testing::ElementsAre;

namespace {

std::vector<char> bytesOf(std::initializer_list<int> values) {
  std::vector<char> bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

}  // namespace

TEST(FxpProgram, EncodesThePublishedBigEndianLayout) {
  std::vector<char> bytes = encodeFxp(CCONST('z', 'r', 'i', 'n'), 1, "inv", {0.5f, -2.0f});
  std::vector<char> expected = bytesOf({'C', 'c', 'n', 'K', 0, 0, 0, 56, 'F', 'x', 'C', 'k', 0,   0,   0,  1,
                                        'z', 'r', 'i', 'n', 0, 0, 0, 1,  0,   0,   0,   2,   'i', 'n', 'v'});
  expected.resize(56, '\0');
  for (int byte : {0x3f, 0x00, 0x00, 0x00, 0xc0, 0x00, 0x00, 0x00})
    expected.push_back(static_cast<char>(byte));
  EXPECT_EQ(bytes, expected);
}

TEST(FxpProgram, LongNameIsCutAndStaysTerminated) {
  std::vector<char> bytes = encodeFxp(1, 1, std::string(40, 'n'), {});
  ASSERT_EQ(bytes.size(), 56u);
  EXPECT_EQ(std::string(bytes.begin() + 28, bytes.begin() + 55), std::string(27, 'n'));
  EXPECT_EQ(bytes[55], '\0');
}

TEST(FxpProgram, DecodesWhatEncodingWrote) {
  FxpProgram program;
  ASSERT_TRUE(decodeFxp(encodeFxp(CCONST('A', 'D', 'l', 'y'), 3, "delay", {0.5f, 0.25f, 0.75f}), program));
  EXPECT_EQ(program.chunkMagic, CCONST('C', 'c', 'n', 'K'));
  EXPECT_EQ(program.programMagic, CCONST('F', 'x', 'C', 'k'));
  EXPECT_EQ(program.formatVersion, 1);
  EXPECT_EQ(program.uniqueId, CCONST('A', 'D', 'l', 'y'));
  EXPECT_EQ(program.effectVersion, 3);
  EXPECT_EQ(program.numParams, 3);
  EXPECT_EQ(program.name, "delay");
  EXPECT_THAT(program.values, ElementsAre(0.5f, 0.25f, 0.75f));
}

TEST(FxpProgram, DecodingStopsAtTheEndOfTheBytes) {
  std::vector<char> bytes = encodeFxp(1, 1, "p", {0.5f, 0.25f});
  bytes[27] = 100;  // numParams claims 100
  bytes.pop_back();
  FxpProgram program;
  ASSERT_TRUE(decodeFxp(bytes, program));
  EXPECT_EQ(program.numParams, 100);
  EXPECT_THAT(program.values, ElementsAre(0.5f));
  bytes.resize(55);
  EXPECT_FALSE(decodeFxp(bytes, program));
}

TEST(FxpProgram, NegativeNumParamsDecodesNoValues) {
  std::vector<char> bytes = encodeFxp(1, 1, "p", {0.5f});
  bytes[24] = static_cast<char>(0xff);
  FxpProgram program;
  ASSERT_TRUE(decodeFxp(bytes, program));
  EXPECT_LT(program.numParams, 0);
  EXPECT_TRUE(program.values.empty());
}
