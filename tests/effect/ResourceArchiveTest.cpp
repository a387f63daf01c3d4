#include <fstream>
#include <iterator>

#include "ArchiveTest.h"

using ::testing::ElementsAre;

namespace {

std::string memberText(const char* name) {
  std::vector<char> bytes;
  if (!readMember(name, bytes)) return "<unreadable>";
  return std::string(bytes.begin(), bytes.end());
}

std::string fileContent(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void replaceFileContent(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

}  // namespace

// --- Finding the archive.

TEST_F(ArchiveTest, AZipWinsOverTorvixData) {
  writeArchive("a.zip", {{"which", "a.zip"}});
  writeArchive("torvix.data", {{"which", "torvix.data"}});
  ASSERT_TRUE(openArchive());
  EXPECT_EQ(memberText("which"), "a.zip");
  EXPECT_THAT(traces.messages(), ElementsAre("Opened " + pathOf("a.zip") + ";"));
}

TEST_F(ArchiveTest, TorvixDataAloneIsUsed) {
  writeArchive("torvix.data", {{"which", "torvix.data"}});
  ASSERT_TRUE(openArchive());
  EXPECT_EQ(memberText("which"), "torvix.data");
  EXPECT_THAT(traces.messages(), ElementsAre("can't open a.zip", "Opened " + pathOf("torvix.data") + ";"));
}

TEST_F(ArchiveTest, NeitherArchiveGivesFalseAndNothingIsFound) {
  EXPECT_FALSE(openArchive());
  EXPECT_THAT(traces.messages(), ElementsAre("can't open a.zip", "can't open torvix.data"));
  EXPECT_FALSE(isArchiveOpen());
  EXPECT_FALSE(locateMember("bass.fxp"));
  std::vector<char> bytes;
  EXPECT_FALSE(readMember("bass.fxp", bytes));
  EXPECT_FALSE(visitMembers([](const char*) {}));
}

TEST_F(ArchiveTest, OpeningAnOpenArchiveReturnsAtOnce) {
  writeArchive("a.zip", {{"m", "x"}});
  ASSERT_TRUE(openArchive());
  traces.clear();
  EXPECT_TRUE(openArchive());
  EXPECT_TRUE(traces.messages().empty());
}

TEST_F(ArchiveTest, ClosingClosesOnceAndLeavesNothingToRead) {
  writeArchive("a.zip", {{"m", "x"}});
  ASSERT_TRUE(openArchive());
  closeArchive();
  EXPECT_FALSE(isArchiveOpen());
  EXPECT_FALSE(locateMember("m"));
  closeArchive();
  EXPECT_FALSE(isArchiveOpen());
}

TEST_F(ArchiveTest, TruncatedArchiveFailsToOpen) {
  writeArchive("a.zip", {{"m", std::string(1000, 'x')}});
  std::string whole = fileContent(directory / "a.zip");
  replaceFileContent(directory / "a.zip", whole.substr(0, whole.size() / 2));
  EXPECT_FALSE(openArchive());
  EXPECT_THAT(traces.messages(), ElementsAre("can't open a.zip", "can't open torvix.data"));
}

TEST_F(ArchiveTest, FileThatIsNoArchiveFailsToOpenAndTheOtherIsTried) {
  replaceFileContent(directory / "a.zip", "not a zip archive at all");
  writeArchive("torvix.data", {{"which", "torvix.data"}});
  ASSERT_TRUE(openArchive());
  EXPECT_EQ(memberText("which"), "torvix.data");
}

// --- Locating members.

TEST_F(ArchiveTest, MemberNamesAreComparedWithoutRegardToCase) {
  writeArchive("a.zip", {{"first.xml", "1"}, {"Lo_Mid.FXP", "lo-mid"}});
  ASSERT_TRUE(openArchive());
  EXPECT_TRUE(locateMember("lo_mid.fxp"));
  EXPECT_EQ(memberText("LO_MID.fxp"), "lo-mid");
  EXPECT_FALSE(locateMember("lo_mid.fx"));
  EXPECT_FALSE(locateMember("missing.fxp"));
}

TEST_F(ArchiveTest, NamesOf256CharactersOrMoreAreNeverFound) {
  std::string longName(300, 'n');
  writeArchive("a.zip", {{longName, "long"}});
  ASSERT_TRUE(openArchive());
  EXPECT_FALSE(locateMember(longName.c_str()));
  EXPECT_FALSE(locateMember(longName.substr(0, 256).c_str()));
  EXPECT_FALSE(locateMember(longName.substr(0, 255).c_str()));
}

TEST_F(ArchiveTest, LongestLocatableNameIsFound) {
  std::string name(255, 'n');
  writeArchive("a.zip", {{name, "found"}});
  ASSERT_TRUE(openArchive());
  EXPECT_EQ(memberText(name.c_str()), "found");
}

// --- Visiting members.

TEST_F(ArchiveTest, VisitingListsEveryMemberInArchiveOrder) {
  writeArchive("a.zip", {{"b.xml", ""}, {"A.xml", ""}, {"bass.fxp", ""}, {"notes.xml.txt", ""}});
  ASSERT_TRUE(openArchive());
  std::vector<std::string> names;
  EXPECT_TRUE(visitMembers([&](const char* name) { names.emplace_back(name); }));
  EXPECT_THAT(names, ElementsAre("b.xml", "A.xml", "bass.fxp", "notes.xml.txt"));
}

TEST_F(ArchiveTest, VisitingSkipsNamesTooLongForTheListing) {
  std::string longest(kListedNameCapacity - 1, 'k');
  std::string tooLong(kListedNameCapacity, 't');
  writeArchive("a.zip", {{"first", ""}, {tooLong, ""}, {longest, ""}, {tooLong + "x.xml", ""}, {"last", ""}});
  ASSERT_TRUE(openArchive());
  std::vector<std::string> names;
  visitMembers([&](const char* name) { names.emplace_back(name); });
  EXPECT_THAT(names, ElementsAre("first", longest, "last"));
}

// --- Reading whole members.

TEST_F(ArchiveTest, StoredAndDeflatedMembersBothRead) {
  std::string text = "<torvix>" + std::string(5000, ' ') + "</torvix>";
  writeArchive("a.zip",
               {{"stored.xml", text, false}, {"deflated.xml", text, true}, {"empty.xml", "", false}});
  ASSERT_TRUE(openArchive());
  EXPECT_EQ(memberText("stored.xml"), text);
  EXPECT_EQ(memberText("deflated.xml"), text);
  std::vector<char> bytes{'o', 'l', 'd'};
  EXPECT_TRUE(readMember("empty.xml", bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST_F(ArchiveTest, MissingMemberLeavesTheBytesAlone) {
  writeArchive("a.zip", {{"m", "x"}});
  ASSERT_TRUE(openArchive());
  std::vector<char> bytes{'o', 'l', 'd'};
  EXPECT_FALSE(readMember("other", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
}

TEST_F(ArchiveTest, OversizedMemberIsRefused) {
  writeArchive("a.zip", {{"limit", std::string(kMaxMemberSize, '\0')},
                         {"huge", std::string(kMaxMemberSize + 1, '\0')}});
  ASSERT_TRUE(openArchive());
  std::vector<char> bytes{'o', 'l', 'd'};
  EXPECT_FALSE(readMember("huge", bytes));
  EXPECT_EQ(bytes.size(), 3u);
  EXPECT_TRUE(readMember("limit", bytes));
  EXPECT_EQ(bytes.size(), kMaxMemberSize);
}

TEST_F(ArchiveTest, CorruptStoredMemberFailsItsChecksum) {
  std::string text(200, 'a');
  writeArchive("a.zip", {{"m", text, false}});
  std::string archive = fileContent(directory / "a.zip");
  archive[archive.find(text) + 100] = 'b';
  replaceFileContent(directory / "a.zip", archive);
  ASSERT_TRUE(openArchive());
  std::vector<char> bytes{'o', 'l', 'd'};
  EXPECT_FALSE(readMember("m", bytes));
  EXPECT_EQ(bytes.size(), 3u);
}

TEST_F(ArchiveTest, CorruptDeflatedMemberFailsCleanly) {
  std::string text;
  for (int i = 0; i < 4000; ++i) text += std::to_string(i * 7919 % 10007) + ",";
  writeArchive("a.zip", {{"m", text}, {"after", "intact"}});
  std::string archive = fileContent(directory / "a.zip");
  // The first local header: 30 bytes, the name, the extra field, then the data.
  auto byteAt = [&](std::size_t i) {
    return static_cast<std::size_t>(static_cast<unsigned char>(archive[i]));
  };
  std::size_t data = 30 + 1 + byteAt(28) + 256 * byteAt(29);
  for (std::size_t i = data + 20; i < data + 60; ++i) archive[i] = static_cast<char>(archive[i] ^ 0x5a);
  replaceFileContent(directory / "a.zip", archive);
  ASSERT_TRUE(openArchive());
  std::vector<char> bytes;
  EXPECT_FALSE(readMember("m", bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(memberText("after"), "intact");
}

TEST_F(ArchiveTest, ModuleDirectoryIsSharedAndCopied) {
  setModuleDirectory("/some/where/");
  std::string copy = moduleDirectory();
  setModuleDirectory("/else/");
  EXPECT_EQ(copy, "/some/where/");
  EXPECT_EQ(moduleDirectory(), "/else/");
}
