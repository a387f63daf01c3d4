// torvix-pack's command line, and where it may write an archive.
#include <gtest/gtest.h>

#include <cstdlib>

#include "PackFolder.h"
#include "pack/ArchiveOutput.h"
#include "pack/ArchiveWriter.h"
#include "pack/PackCommandLine.h"
#include "pack/PackError.h"

namespace {

using Mode = PackCommandLine::Mode;

struct CommandCase {
  std::vector<std::string> arguments;
  Mode mode;
  bool strict;
  std::string target;
  std::string folder;
};

class PackCommandLineTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(PackCommandLineTest, ReadsTheCommand) {
  const CommandCase& expected = GetParam();
  const PackCommandLine command = parsePackCommandLine(expected.arguments);
  EXPECT_EQ(command.mode, expected.mode);
  EXPECT_EQ(command.strict, expected.strict);
  EXPECT_EQ(command.target, expected.target);
  EXPECT_EQ(command.folder, expected.folder);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PackCommandLineTest,
    ::testing::Values(CommandCase{{"a.zip", "data"}, Mode::kPack, false, "a.zip", "data"},
                      CommandCase{{"--strict", "a.zip", "data"}, Mode::kPack, true, "a.zip", "data"},
                      CommandCase{{"a.zip", "data", "--strict"}, Mode::kPack, true, "a.zip", "data"},
                      CommandCase{{"--list", "a.zip"}, Mode::kList, false, "a.zip", ""},
                      CommandCase{{"--dot", "g.xml"}, Mode::kDot, false, "g.xml", ""},
                      CommandCase{{"--help", "data"}, Mode::kHelp, false, "", ""},
                      CommandCase{{"a.zip", "-h"}, Mode::kHelp, false, "", ""}));

TEST(PackCommandLine, RefusesWhatFormsNoCommand) {
  const std::vector<std::vector<std::string>> refused{{},
                                                      {"a.zip"},
                                                      {"a.zip", "data", "more"},
                                                      {"--stict", "a.zip", "data"},
                                                      {"--list"},
                                                      {"--list", "a.zip", "b.zip"},
                                                      {"--strict", "--list", "a.zip"},
                                                      {"--list", "--dot", "a.zip"}};
  for (const std::vector<std::string>& arguments : refused)
    EXPECT_THROW(parsePackCommandLine(arguments), PackUsageError) << ::testing::PrintToString(arguments);
}

class ArchiveOutputTest : public ::testing::Test {
 protected:
  std::string refusal(const std::filesystem::path& output) {
    try {
      checkArchiveOutput(output, sources.path());
    } catch (const PackError& error) {
      return error.what();
    }
    return "";
  }

  TemporaryDirectory sources;
  TemporaryDirectory elsewhere;
};

TEST_F(ArchiveOutputTest, NewAndExistingArchivesOutsideTheSourcesMayBeWritten) {
  EXPECT_EQ(refusal(elsewhere / "a.zip"), "");
  EXPECT_EQ(refusal(elsewhere / "torvix.data"), "");
  writeArchive(elsewhere / "b.ZIP", {{"m", {'x'}, "m"}});
  EXPECT_EQ(refusal(elsewhere / "b.ZIP"), "");
}

TEST_F(ArchiveOutputTest, RefusesWhatWouldDestroyAFile) {
  writeSource(sources, "crunch.xml", "<torvix/>");
  writeSource(elsewhere, "notes.zip", "not an archive");
  std::filesystem::create_directory(elsewhere / "folder.zip");
  EXPECT_NE(refusal(sources / "crunch.xml").find("must end in .zip"), std::string::npos);
  EXPECT_NE(refusal(elsewhere / ".zip").find("must end in .zip"), std::string::npos);
  EXPECT_NE(refusal(elsewhere / "notes.zip").find("is not a ZIP archive"), std::string::npos);
  EXPECT_NE(refusal(elsewhere / "folder.zip").find("is not a ZIP archive"), std::string::npos);
  EXPECT_NE(refusal(sources / "a.zip").find("lies among the sources"), std::string::npos);
  EXPECT_NE(refusal(sources / "." / "a.zip").find("lies among the sources"), std::string::npos);
  EXPECT_EQ(fileText(sources / "crunch.xml"), "<torvix/>");
  EXPECT_EQ(fileText(elsewhere / "notes.zip"), "not an archive");
}

#ifdef TORVIX_PACK_PATH
// Runs torvix-pack in folder with the arguments; its status, and what it printed.
struct CommandResult {
  int status;
  std::string out;
  std::string errors;
};

CommandResult runPack(const TemporaryDirectory& folder, const std::string& arguments) {
  const std::string command =
      "cd " + folder.path().string() + " && " + TORVIX_PACK_PATH + " " + arguments + " >out.txt 2>errors.txt";
  const int status = std::system(command.c_str());
  return {status, fileText(folder / "out.txt"), fileText(folder / "errors.txt")};
}

TEST(PackCommand, HelpPrintsUsageAndWritesNothing) {
  TemporaryDirectory folder;
  std::filesystem::create_directory(folder / "data");
  const CommandResult result = runPack(folder, "--help data");
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.out.starts_with("usage: torvix-pack")) << result.out;
  EXPECT_FALSE(std::filesystem::exists(folder / "--help"));
}

TEST(PackCommand, ADescriptionGivenAsOutputIsLeftAlone) {
  TemporaryDirectory folder;
  std::filesystem::create_directory(folder / "data");
  writeSource(folder, "data/crunch.xml", "<torvix/>");
  const CommandResult result = runPack(folder, "data/crunch.xml data");
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(result.errors, "data/crunch.xml: is not an archive name: the output must end in .zip\n");
  EXPECT_EQ(fileText(folder / "data/crunch.xml"), "<torvix/>");
}

TEST(PackCommand, StrictRefusesWarningsWhereAPlainPackWritesTheArchive) {
  TemporaryDirectory folder;
  std::filesystem::create_directory(folder / "data");
  writeSource(folder, "data/g.xml", "<torvix>\n<fx id=\"e\" type=\"dealy\"/>\n</torvix>\n");
  const std::string warning = "data/g.xml:2: warning: unknown fx type \"dealy\"";
  const CommandResult strict = runPack(folder, "--strict a.zip data");
  EXPECT_NE(strict.status, 0);
  EXPECT_TRUE(strict.errors.starts_with(warning)) << strict.errors;
  EXPECT_NE(strict.errors.find("--strict: 1 warning, no archive written"), std::string::npos)
      << strict.errors;
  EXPECT_FALSE(std::filesystem::exists(folder / "a.zip"));
  const CommandResult plain = runPack(folder, "a.zip data");
  EXPECT_EQ(plain.status, 0);
  EXPECT_TRUE(plain.errors.starts_with(warning)) << plain.errors;
  EXPECT_TRUE(std::filesystem::exists(folder / "a.zip"));
}
#endif

}  // namespace
