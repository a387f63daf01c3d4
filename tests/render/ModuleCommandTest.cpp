// The command through the plug-in module itself, copied into a directory of
// its own beside an archive of the test's (the module finds its archive
// beside its file).
#include <gtest/gtest.h>

#if defined(TORVIX_MODULE_PATH)

#include <unzip.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CommandRun.h"
#include "TestAudio.h"
#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/SteadyArchive.h"
#include "support/ZipFixture.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr std::size_t kModuleTail = 1000;
// More than any test's sound needs to decay.
constexpr std::size_t kDirectTail = 44100;
constexpr float kQuiet = 3.17e-5f;  // -90 dBFS

struct Setting {
  VstInt32 index;
  float value;
};

class ModuleCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(TORVIX_MODULE_PATH, moduleFolder / "torvix_distortion.so");
    ASSERT_TRUE(writeSteadyArchive(moduleFolder / "a.zip"));
  }

  std::string modulePath() const { return (moduleFolder / "torvix_distortion.so").string(); }
  std::string path(const std::string& name) const { return (files / name).string(); }

  CommandRun run(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"--module", modulePath()});
    return CommandRun(arguments);
  }

  CommandRun render(std::vector<std::string> options) const {
    options.push_back(path("in.wav"));
    options.push_back(path("out.wav"));
    return run(options);
  }

  // The reference: the module driven as a host drives it, the input with
  // a second of silence after it, in blocks of blockSize.
  std::vector<float> driveDirectly(const std::vector<float>& input, float sampleRate,
                                   const std::vector<Setting>& settings = {},
                                   VstInt32 blockSize = 512) const {
    std::string error;
    const std::unique_ptr<PluginModule> module = PluginModule::load(modulePath(), error);
    EXPECT_NE(module, nullptr) << error;
    HostCallback callback;
    HostedEffect effect(module->createEffect(callback));
    effect.open();
    for (const Setting& setting : settings) effect.setParameter(setting.index, setting.value);
    effect.configure(sampleRate, blockSize);
    effect.setMains(true);
    std::vector<float> in = input;
    in.resize(input.size() + kDirectTail, 0.0f);
    std::vector<float> out(in.size(), 0.0f);
    for (std::size_t done = 0; done < in.size(); done += static_cast<std::size_t>(blockSize)) {
      const auto frames = static_cast<VstInt32>(std::min<std::size_t>(blockSize, in.size() - done));
      float* inputs[] = {in.data() + done};
      float* outputs[] = {out.data() + done};
      effect.processReplacing(inputs, outputs, frames);
    }
    effect.close();
    return out;
  }

  TemporaryDirectory moduleFolder;
  TemporaryDirectory files;
};

// A render is the module's direct output up to where it has decayed: at
// least the reported tail, past that up to its last loud sample, and nothing
// but quiet after its end.
void expectDecayedRenderOf(const std::vector<float>& rendered, const std::vector<float>& direct,
                           std::size_t inputFrames) {
  ASSERT_GE(rendered.size(), inputFrames + kModuleTail);
  ASSERT_LT(rendered.size(), direct.size());
  EXPECT_TRUE(std::equal(rendered.begin(), rendered.end(), direct.begin()));
  if (rendered.size() > inputFrames + kModuleTail) {
    EXPECT_GT(std::fabs(rendered.back()), kQuiet);
  }
  EXPECT_TRUE(std::all_of(direct.begin() + static_cast<std::ptrdiff_t>(rendered.size()), direct.end(),
                          [](float sample) { return std::fabs(sample) <= kQuiet; }));
}

TEST_F(ModuleCommandTest, GivesTheSamplesOfTheModuleDrivenDirectlyAndItsTail) {
  const std::vector<float> input = pluckLikeSignal(5000, 110.0);
  writeTestAudio(files / "in.wav", {1, 44100, input});
  const CommandRun result = render({});
  ASSERT_EQ(result.status, 0) << result.err;
  const TestAudio output = readTestAudio(files / "out.wav");
  EXPECT_NE(result.out.find(std::to_string(output.frames()) + " frames"), std::string::npos) << result.out;
  const std::vector<float> expected = driveDirectly(input, 44100.0f);
  expectDecayedRenderOf(output.samples, expected, input.size());
  EXPECT_GT(*std::max_element(expected.begin(), expected.end()), 0.01f);
}

TEST_F(ModuleCommandTest, StereoRunsAsDualMono) {
  const std::vector<float> left = pluckLikeSignal(3000, 110.0, 48000.0);
  const std::vector<float> right = pluckLikeSignal(3000, 370.0, 48000.0);
  writeTestAudio(files / "in.wav", {2, 48000, interleaved(left, right)});
  ASSERT_EQ(render({"--block-size", "256"}).status, 0);
  const TestAudio output = readTestAudio(files / "out.wav");
  ASSERT_EQ(output.channels, 2);
  expectDecayedRenderOf(output.channel(0), driveDirectly(left, 48000.0f, {}, 256), left.size());
  const std::vector<float> rightDirect = driveDirectly(right, 48000.0f, {}, 256);
  const std::vector<float> rightRendered = output.channel(1);
  EXPECT_TRUE(std::equal(rightRendered.begin(), rightRendered.end(), rightDirect.begin()));
}

TEST_F(ModuleCommandTest, BatchRendersEachFileThroughInstancesOfItsOwn) {
  std::vector<std::vector<float>> inputs;
  std::vector<std::string> arguments{"--pre-gain", "0.8"};
  for (int take = 0; take < 4; ++take) {
    inputs.push_back(pluckLikeSignal(20000 + 3000 * take, 110.0 * (take + 1)));
    const std::string name = "take" + std::to_string(take) + ".wav";
    writeTestAudio(files / name, {1, 44100, inputs.back()});
    arguments.push_back(path(name));
  }
  arguments.insert(arguments.end(), {"-o", path("out")});
  const CommandRun result = run(arguments);
  ASSERT_EQ(result.status, 0) << result.err;
  for (int take = 0; take < 4; ++take) {
    SCOPED_TRACE(take);
    const std::vector<float>& input = inputs[static_cast<std::size_t>(take)];
    expectDecayedRenderOf(readTestAudio(files / "out" / ("take" + std::to_string(take) + ".wav")).samples,
                          driveDirectly(input, 44100.0f, {{0, 0.8f}}), input.size());
  }
}

TEST_F(ModuleCommandTest, PresetAllRendersEachInputThroughEveryDescriptionWithItsPlot) {
  const std::vector<float> input = pluckLikeSignal(6000, 165.0);
  writeTestAudio(files / "in.wav", {1, 44100, input});
  const CommandRun result = run({"--preset", "ALL", "--post-gain", "0.7", path("in.wav"), "-o", path("out")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(fileNamesIn(files / "out"), (std::set<std::string>{"in-00-steady.wav", "in-00-steady.png",
                                                               "in-01-thru.wav", "in-01-thru.png"}));
  for (const auto& [name, preset] : {std::pair{"in-00-steady", 0.0f}, std::pair{"in-01-thru", 1.0f}}) {
    SCOPED_TRACE(name);
    expectDecayedRenderOf(readTestAudio(files / "out" / (std::string(name) + ".wav")).samples,
                          driveDirectly(input, 44100.0f, {{3, preset}, {1, 0.7f}}), input.size());
    std::ifstream png(files / "out" / (std::string(name) + ".png"), std::ios::binary);
    std::string signature(8, '\0');
    png.read(signature.data(), 8);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n");
  }
}

TEST_F(ModuleCommandTest, PresetAndParametersReachTheModule) {
  const std::vector<float> input = pluckLikeSignal(4000, 196.0);
  writeTestAudio(files / "in.wav", {1, 44100, input});
  const std::vector<float> expected =
      driveDirectly(input, 44100.0f, {{3, 1.0f}, {0, 0.3f}, {1, 0.9f}, {2, 0.2f}});
  ASSERT_NE(expected, driveDirectly(input, 44100.0f));
  for (const char* preset : {"thru", "thru.xml", "1"}) {
    ASSERT_EQ(
        render({"--preset", preset, "--pre-gain", "0.3", "--param", "Post gain=0.9", "--pre-bass", "0.2"})
            .status,
        0);
    SCOPED_TRACE(preset);
    expectDecayedRenderOf(readTestAudio(files / "out.wav").samples, expected, input.size());
  }
  ASSERT_EQ(render({"--param", "preset=thru", "--param", "PRE_GAIN=0.3", "--post-gain", "0.9", "--param",
                    "pre bass=0.2"})
                .status,
            0);
  expectDecayedRenderOf(readTestAudio(files / "out.wav").samples, expected, input.size());
}

TEST_F(ModuleCommandTest, TakesEditorCaptionsIndicesAndPresetsInAnyCase) {
  const std::vector<float> input = pluckLikeSignal(4000, 196.0);
  writeTestAudio(files / "in.wav", {1, 44100, input});
  const std::vector<float> expected =
      driveDirectly(input, 44100.0f, {{3, 1.0f}, {0, 0.3f}, {1, 0.9f}, {2, 0.2f}});
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"--preset", "THRU", "--param", "Pre Gain=0.3", "--param", "1=0.9", "--param",
                                 "pre lo=0.2"},
        std::vector<std::string>{"--param", "3=1", "--param", "0=0.3", "--param", "Post Gain=0.9", "--param",
                                 "Pre Lo=0.2"},
        std::vector<std::string>{"--preset", "Thru.XML", "--pre-gain", "0.3", "--param", "POST_GAIN=0.9",
                                 "--param", "2=0.2"}}) {
    SCOPED_TRACE(options[1]);
    ASSERT_EQ(render(options).status, 0);
    expectDecayedRenderOf(readTestAudio(files / "out.wav").samples, expected, input.size());
  }
  for (const auto& [assignment, mentions] :
       {std::pair{"4=0.5", "unknown parameter \"4\""}, std::pair{"3=0.5", "unknown preset \"0.5\""},
        std::pair{"Pre Hi=0.5", "unknown parameter \"Pre Hi\""}}) {
    const CommandRun refused = render({"--param", assignment});
    EXPECT_TRUE(refused.failedWithOneLine()) << refused.err;
    EXPECT_NE(refused.err.find(mentions), std::string::npos) << refused.err;
  }
}

TEST_F(ModuleCommandTest, RefusesPresetsAndValuesItDoesNotHave) {
  writeTestAudio(files / "in.wav", {1, 44100, pluckLikeSignal(500, 110.0)});
  for (const char* preset : {"crunch", "2", "-1", "STEAD"}) {
    const CommandRun result = render({"--preset", preset});
    EXPECT_TRUE(result.failedWithOneLine()) << preset << ": " << result.err;
    EXPECT_NE(result.err.find(preset), std::string::npos) << result.err;
  }
  const CommandRun tooLoud = render({"--pre-gain", "1.5"});
  EXPECT_TRUE(tooLoud.failedWithOneLine());
  EXPECT_NE(tooLoud.err.find("Pre gain"), std::string::npos) << tooLoud.err;
  EXPECT_EQ(fileNamesIn(files.path()), std::set<std::string>{"in.wav"});
}

TEST_F(ModuleCommandTest, ListsNamesParametersAndDescriptions) {
  const CommandRun result = run({"--list"});
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* line :
       {"Effect:     TorvixDistortion\n", "Vendor:     Brelvanix\n", "Tail:       1000 samples\n",
        "  0  Pre gain     value 0.500000  display \"1.297442\"\n",
        "  3  Preset       value 0.000000  display \"steady.xml\"\n", "Descriptions:\n", "  0  steady.xml\n",
        "  1  thru.xml\n"}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << "in\n" << result.out;
  }
}

TEST_F(ModuleCommandTest, DemoRendersTheRiffThroughEveryDescription) {
  const CommandRun result = run({"--demo", path("demo"), "--sample-rate", "22050"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(fileNamesIn(files / "demo"),
            (std::set<std::string>{"riff.wav", "00-steady.wav", "00-steady.png", "00-steady-sheet.png", "01-thru.wav",
                                   "01-thru.png", "01-thru-sheet.png", "editor.png"}));
  const TestAudio riff = readTestAudio(files / "demo/riff.wav");
  ASSERT_EQ(riff.frames(), 4 * 22050);
  for (const auto& [name, preset] : {std::pair{"00-steady", 0.0f}, std::pair{"01-thru", 1.0f}}) {
    SCOPED_TRACE(name);
    expectDecayedRenderOf(readTestAudio(files / "demo" / (std::string(name) + ".wav")).samples,
                          driveDirectly(riff.samples, 22050.0f, {{3, preset}}), riff.samples.size());
    for (const std::string& picture : {std::string(name) + ".png", std::string(name) + "-sheet.png"}) {
      std::ifstream png(files / "demo" / picture, std::ios::binary);
      std::string signature(8, '\0');
      png.read(signature.data(), 8);
      EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n") << picture;
    }
    EXPECT_NE(result.out.find(std::string(name) + ".wav"), std::string::npos) << result.out;
  }
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 3) << result.out;
}

TEST_F(ModuleCommandTest, DemoOfOneDescriptionAndDemoWithoutDescriptions) {
  ASSERT_EQ(run({"--demo", path("one"), "--preset", "thru", "--sample-rate", "8000"}).status, 0);
  EXPECT_EQ(fileNamesIn(files / "one"),
            (std::set<std::string>{"riff.wav", "01-thru.wav", "01-thru.png", "01-thru-sheet.png", "editor.png"}));
  const CommandRun deep = run({"--demo", path("missing/a/b"), "--preset", "thru"});
  EXPECT_TRUE(deep.failedWithOneLine()) << deep.err;
  EXPECT_FALSE(std::filesystem::exists(files / "missing"));
  std::filesystem::remove(moduleFolder / "a.zip");
  const CommandRun empty = run({"--demo", path("none")});
  EXPECT_TRUE(empty.failedWithOneLine()) << empty.err;
  EXPECT_NE(empty.err.find("no graph descriptions"), std::string::npos) << empty.err;
  EXPECT_FALSE(std::filesystem::exists(files / "none"));
}

TEST_F(ModuleCommandTest, SnapshotPicturesTheEditorWithTheRequestedSettings) {
  const CommandRun result = run({"--snapshot", path("editor.png"), "--preset", "thru", "--pre-gain", "1"});
  ASSERT_EQ(result.status, 0) << result.err;
  std::ifstream png(files / "editor.png", std::ios::binary);
  std::string header(24, '\0');
  png.read(header.data(), 24);
  EXPECT_EQ(header.substr(0, 8), "\x89PNG\r\n\x1a\n");
  auto bigEndian = [&header](std::size_t at) {
    return (unsigned(static_cast<unsigned char>(header[at])) << 24) |
           (unsigned(static_cast<unsigned char>(header[at + 1])) << 16) |
           (unsigned(static_cast<unsigned char>(header[at + 2])) << 8) |
           static_cast<unsigned char>(header[at + 3]);
  };
  EXPECT_EQ(bigEndian(16), 619u);
  EXPECT_EQ(bigEndian(20), 265u);
  const CommandRun unknown = run({"--snapshot", path("other.png"), "--preset", "nowhere"});
  EXPECT_TRUE(unknown.failedWithOneLine()) << unknown.err;
  EXPECT_FALSE(std::filesystem::exists(files / "other.png"));
}

// Descriptions the plug-in refuses, first and in the middle of the list, hide none of the
// others: the effect keeps its graph when "Preset" names a refused one, so a list found by
// setting "Preset" until it is not taken ended at the first refusal.
TEST_F(ModuleCommandTest, RefusedDescriptionsKeepTheirPlaceAndHideNoneOfTheOthers) {
  std::string averager = R"(<processor type="averager" input="in"><param set="0" value="1e9"/></processor>)";
  ASSERT_TRUE(writeZipFixture(moduleFolder / "a.zip",
                              {{"aaa.xml", "<torvix>\n" + averager + "\n<fx id=\"i\" type=\"inv\"/></torvix>"},
                               {"crunch.xml", "<torvix/>"},
                               {"mid.xml", "<torvix>\n<mixer input2=\"nowhere\"/></torvix>"},
                               {"zed.xml", "<torvix/>"}}));
  const CommandRun listing = run({"--list"});
  ASSERT_EQ(listing.status, 0) << listing.err;
  for (const char* line : {"  0  aaa.xml  (refused by the plug-in: <processor> at line 2: the averager window",
                           "  1  crunch.xml\n", "  2  mid.xml  (refused by the plug-in: <mixer> at line 2:",
                           "  3  zed.xml\n"}) {
    EXPECT_NE(listing.out.find(line), std::string::npos) << line << " in\n" << listing.out;
  }

  const std::vector<float> input = pluckLikeSignal(3000, 196.0);
  writeTestAudio(files / "in.wav", {1, 44100, input});
  for (const auto& [preset, index] : {std::pair{"crunch", 1.0f}, std::pair{"zed", 3.0f}}) {
    SCOPED_TRACE(preset);
    ASSERT_EQ(render({"--preset", preset}).status, 0);
    expectDecayedRenderOf(readTestAudio(files / "out.wav").samples, driveDirectly(input, 44100.0f, {{3, index}}),
                          input.size());
  }
  const CommandRun refused = render({"--preset", "aaa"});
  EXPECT_TRUE(refused.failedWithOneLine()) << refused.err;
  EXPECT_NE(refused.err.find("refuses the description aaa.xml: <processor> at line 2"), std::string::npos)
      << refused.err;

  const CommandRun demo = run({"--demo", path("demo"), "--sample-rate", "8000"});
  ASSERT_EQ(demo.status, 0) << demo.err;
  std::set<std::string> sounds;
  for (const std::string& name : fileNamesIn(files / "demo"))
    if (name.ends_with(".wav")) sounds.insert(name);
  EXPECT_EQ(sounds, (std::set<std::string>{"riff.wav", "01-crunch.wav", "03-zed.wav"}));
  EXPECT_NE(demo.err.find("mid.xml: not rendered, the plug-in refuses it"), std::string::npos) << demo.err;
}

std::size_t descriptionMembers(const std::filesystem::path& archivePath) {
  unzFile archive = unzOpen(archivePath.c_str());
  if (!archive) return 0;
  std::size_t count = 0;
  for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
    unz_file_info info{};
    char name[512] = {};
    unzGetCurrentFileInfo(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0);
    if (std::string(name).find(".xml") != std::string::npos) ++count;
  }
  unzClose(archive);
  return count;
}

TEST(BuiltModule, ListsEveryDescriptionOfTheBuiltArchive) {
  TemporaryDirectory folder;
  std::filesystem::copy_file(TORVIX_MODULE_PATH, folder / "torvix_distortion.so");
  std::filesystem::copy_file(TORVIX_ARCHIVE_PATH, folder / "a.zip");
  const CommandRun result({"--module", (folder / "torvix_distortion.so").string(), "--list"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string listed = result.out.substr(result.out.find("Descriptions:"));
  const std::size_t expected = descriptionMembers(TORVIX_ARCHIVE_PATH);
  EXPECT_EQ(static_cast<std::size_t>(std::count(listed.begin(), listed.end(), '\n')) - 1, expected) << listed;
}

TEST_F(ModuleCommandTest, ArchiveOptionPointsTheModuleAtAnotherArchiveAndLeavesNothingBehind) {
  TemporaryDirectory temporary;
  const char* previousTemporary = std::getenv("TMPDIR");
  const std::string restore = previousTemporary ? previousTemporary : "";
  setenv("TMPDIR", temporary.path().c_str(), 1);
  const CommandRun elsewhere = run({"--archive", TORVIX_ARCHIVE_PATH, "--list"});
  const CommandRun missing = run({"--archive", path("missing.zip"), "--list"});
  EXPECT_TRUE(fileNamesIn(temporary.path()).empty());
  if (previousTemporary) {
    setenv("TMPDIR", restore.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
  ASSERT_EQ(elsewhere.status, 0) << elsewhere.err;
  const std::string listed = elsewhere.out.substr(elsewhere.out.find("Descriptions:"));
  EXPECT_EQ(static_cast<std::size_t>(std::count(listed.begin(), listed.end(), '\n')) - 1,
            descriptionMembers(TORVIX_ARCHIVE_PATH))
      << listed;
  EXPECT_NE(listed.find("crunch.xml"), std::string::npos) << listed;
  EXPECT_TRUE(missing.failedWithOneLine()) << missing.err;
  EXPECT_NE(missing.err.find("missing.zip"), std::string::npos) << missing.err;
  const CommandRun beside = run({"--list"});
  EXPECT_NE(beside.out.find("  0  steady.xml\n"), std::string::npos) << beside.out;
}

}  // namespace

#endif
