// torvix-render --analyse: the measurements through the echo test module,
// whose doubling every one of them must read as +6 dB and no distortion,
// and the command through the plug-in module and its shipped sounds.
#include "render/SoundAnalysis.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "CommandRun.h"
#include "render/EffectSetup.h"
#include "render/RenderError.h"
#include "render/RenderOptions.h"
#include "support/TemporaryDirectory.h"

namespace {

const double kDoubling = 20.0 * std::log10(2.0);

TEST(SoundAnalysisOptions, TakeAPngNameAndNoFiles) {
  const RenderOptions options = parseRenderOptions({"--analyse", "fuzz.png", "--preset", "fuzz"});
  EXPECT_EQ(options.mode, RenderMode::analyse);
  EXPECT_EQ(options.analysisPath, "fuzz.png");
  EXPECT_EQ(parseRenderOptions({"--analyse=a/B.PNG", "--sample-rate", "96000"}).sampleRate, 96000.0f);
  for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
           {"--analyse", "sheet.jpg"}, {"--analyse", "png"}, {"--analyse", "a.png", "in.wav"},
           {"--analyse", "a.png", "--demo", "out"}, {"--analyse"}}) {
    EXPECT_THROW(parseRenderOptions(wrong), UsageError) << wrong.back();
  }
}

TEST(SoundAnalysis, ReadsAModuleThatDoublesItsInputAsSixDecibelsOfGainAndNoDistortion) {
  for (const float rate : {44100.0f, 96000.0f}) {
    SCOPED_TRACE(rate);
    EffectModule module(ECHO_MODULE_PATH);
    const CharacterSheet sheet = analyseSound(module, {}, rate, 512);
    EXPECT_EQ(sheet.title, "Echo");
    ASSERT_GT(sheet.response.size(), 100u);
    EXPECT_DOUBLE_EQ(sheet.response.front().x, 20.0);
    EXPECT_GT(sheet.response.back().x, 19000.0);
    for (const LevelPoint& point : sheet.response) EXPECT_NEAR(point.decibels, kDoubling, 0.05) << point.x;
    EXPECT_LT(sheet.distortion, 1e-4);
    ASSERT_EQ(sheet.transfer.size(), 31u);
    for (std::size_t i = 0; i < sheet.transfer.size(); ++i) {
      EXPECT_NEAR(sheet.transfer[i].x, -60.0 + 2.0 * static_cast<double>(i), 0.01);
      EXPECT_NEAR(sheet.transfer[i].decibels, sheet.transfer[i].x + kDoubling, 0.01);
    }
    ASSERT_EQ(sheet.pluckOutput.size(), sheet.pluckInput.size());
    ASSERT_GT(sheet.pluckInput.size(), 100u);
    // The string decays: its level falls by more than 20 dB in four seconds.
    EXPECT_GT(sheet.pluckInput.front().decibels - sheet.pluckInput.back().decibels, 20.0);
    for (std::size_t i = 0; i < sheet.pluckInput.size(); ++i) {
      EXPECT_NEAR(sheet.pluckOutput[i].decibels, sheet.pluckInput[i].decibels + kDoubling, 0.01);
    }
  }
}

TEST(SoundAnalysisCommand, RefusesAnUnknownPresetAndLeavesNoFile) {
  TemporaryDirectory directory;
  const std::string path = (directory.path() / "sheet.png").string();
  const CommandRun run({"--module", ECHO_MODULE_PATH, "--analyse", path, "--preset", "fuzz"});
  EXPECT_TRUE(run.failedWithOneLine()) << run.err;
  EXPECT_TRUE(fileNamesIn(directory.path()).empty());
}

#if defined(TORVIX_MODULE_PATH)

double levelAt(const std::vector<LevelPoint>& curve, double x) {
  return std::min_element(curve.begin(), curve.end(), [x](const LevelPoint& a, const LevelPoint& b) {
           return std::fabs(a.x - x) < std::fabs(b.x - x);
         })->decibels;
}

TEST(SoundAnalysis, TellsTheShippedFuzzFromTheCleanGlass) {
  EffectModule module(TORVIX_MODULE_PATH);
  const CharacterSheet fuzz = analyseSound(module, resolveModuleSettings(module, "fuzz", {}), 44100.0f, 512);
  const CharacterSheet glass = analyseSound(module, resolveModuleSettings(module, "glass", {}), 44100.0f, 512);
  EXPECT_EQ(fuzz.title, "TorvixDistortion: fuzz.xml");
  // A near-square wave has about 48 % distortion; a clean boost next to none.
  EXPECT_GT(fuzz.distortion, 0.3);
  EXPECT_LT(glass.distortion, 0.001);
  // The fuzz holds its level over the top 40 dB of input, the clean boost
  // follows it until its ceiling.
  EXPECT_LT(levelAt(fuzz.transfer, 0.0) - levelAt(fuzz.transfer, -40.0), 3.0);
  EXPECT_NEAR(levelAt(glass.transfer, -30.0) - levelAt(glass.transfer, -50.0), 20.0, 0.1);
  // Both boost, and glass most around its presence peak near 2.3 kHz.
  EXPECT_GT(levelAt(glass.response, 2300.0), levelAt(glass.response, 200.0) + 2.0);
}

TEST(SoundAnalysisCommand, WritesOnePictureOfTheChosenSound) {
  TemporaryDirectory directory;
  const std::string path = (directory.path() / "lead.png").string();
  const CommandRun run({"--module", TORVIX_MODULE_PATH, "--analyse", path, "--preset", "lead"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("lead.xml, THD "), std::string::npos) << run.out;
  EXPECT_EQ(fileNamesIn(directory.path()), (std::set<std::string>{"lead.png"}));
  cairo_surface_t* picture = cairo_image_surface_create_from_png(path.c_str());
  EXPECT_EQ(cairo_surface_status(picture), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(picture), 1200);
  EXPECT_EQ(cairo_image_surface_get_height(picture), 1305);
  cairo_surface_destroy(picture);
}

#endif

}  // namespace
