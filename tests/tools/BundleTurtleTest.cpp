// The LV2 bundle's Turtle as torvix-lv2-turtle writes it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lv2turtle/BundleTurtle.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct LabelCase {
  const char* name;
  const char* label;
};

class BundleTurtleLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(BundleTurtleLabelTest, EachSoundIsAScalePointLabelledAsTheEditorsMenuShowsIt) {
  const std::string plugin = BundleTurtle({"first.xml", GetParam().name}, 2, 0).plugin();
  EXPECT_TRUE(
      contains(plugin, std::string("rdfs:label ") + GetParam().label + " ;\n            rdf:value 1\n"))
      << plugin;
}

INSTANTIATE_TEST_SUITE_P(Names, BundleTurtleLabelTest,
                         ::testing::Values(LabelCase{"lead.xml", "\"lead\""}, LabelCase{"lead", "\"lead\""},
                                           LabelCase{".xml", "\".xml\""},
                                           LabelCase{"a.xml.old", "\"a.xml.old\""},
                                           LabelCase{"say \"hi\".xml", "\"say \\\"hi\\\"\""},
                                           LabelCase{"back\\slash.xml", "\"back\\\\slash\""}));

TEST(BundleTurtle, PresetIsAnIntegerEnumerationOverTheSoundsInOrder) {
  const std::string plugin = BundleTurtle({"crunch.xml", "fuzz.xml", "lead.xml"}, 2, 0).plugin();
  EXPECT_TRUE(contains(plugin,
                       "lv2:symbol \"preset\" ;\n        lv2:name \"Preset\" ;\n"
                       "        lv2:portProperty lv2:integer , lv2:enumeration ;\n"
                       "        lv2:default 0 ;\n        lv2:minimum 0 ;\n        lv2:maximum 2 ;"))
      << plugin;
  const std::size_t crunch = plugin.find("\"crunch\" ;\n            rdf:value 0");
  const std::size_t fuzz = plugin.find("\"fuzz\" ;\n            rdf:value 1");
  const std::size_t lead = plugin.find("\"lead\" ;\n            rdf:value 2");
  ASSERT_NE(lead, std::string::npos);
  EXPECT_LT(crunch, fuzz);
  EXPECT_LT(fuzz, lead);
}

TEST(BundleTurtle, NamesTheProjectAndDeclaresItsPortsAndFeatures) {
  const std::string plugin = BundleTurtle({"a.xml"}, 4, 1).plugin();
  for (const char* part :
       {"doap:name \"Torvix Distortion\"", "doap:license <http://spdx.org/licenses/GPL-3.0-or-later>",
        "foaf:name \"Brelvanix\"", "lv2:minorVersion 4 ;", "lv2:microVersion 1 ;", "work:schedule",
        "lv2:extensionData work:interface , state:interface", "lv2:hardRTCapable",
        "ui:ui <urn:brelvanix:torvix-distortion#ui>", "lv2:symbol \"pre_gain\"", "lv2:symbol \"post_gain\"",
        "lv2:symbol \"pre_bass\"", "lv2:index 4 ;\n        lv2:symbol \"in\"",
        "lv2:index 5 ;\n        lv2:symbol \"out\"", "lv2:requiredFeature ui:parent , ui:idleInterface",
        "lv2:optionalFeature ui:resize , ui:touch", "lv2:extensionData ui:idleInterface"}) {
    EXPECT_TRUE(contains(plugin, part)) << part;
  }
  EXPECT_FALSE(contains(plugin, "lv2:requiredFeature work:schedule"));
}

TEST(BundleTurtle, TheManifestListsThePluginAndItsX11UiWithTheirBinaries) {
  const std::string manifest = BundleTurtle({}, 2, 0).manifest();
  EXPECT_TRUE(contains(manifest,
                       "<urn:brelvanix:torvix-distortion>\n    a lv2:Plugin ;\n"
                       "    lv2:binary <torvix_distortion_lv2.so> ;"));
  EXPECT_TRUE(contains(manifest,
                       "<urn:brelvanix:torvix-distortion#ui>\n    a ui:X11UI ;\n"
                       "    ui:binary <torvix_distortion_lv2_ui.so> ;"));
}

#ifdef TORVIX_LV2_TURTLE_PATH
std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int runTurtle(const TemporaryDirectory& bundle) {
  const std::string command = std::string(TORVIX_LV2_TURTLE_PATH) + " " + bundle.path().string() + " 2>" +
                              (bundle / "errors.txt").string();
  return std::system(command.c_str());
}

TEST(BundleTurtleCommand, WritesBothFilesFromTheBundlesArchive) {
  const TemporaryDirectory bundle;
  ASSERT_TRUE(
      writeZipFixture(bundle / "a.zip", {{"b.xml", "<torvix/>"}, {"a.xml", "<torvix/>"}, {"x.fxp", ""}}));
  EXPECT_EQ(runTurtle(bundle), 0) << fileText(bundle / "errors.txt");
  EXPECT_EQ(fileText(bundle / BundleTurtle::kManifestFile), BundleTurtle({}, 0, 0).manifest());
  const std::string plugin = fileText(bundle / BundleTurtle::kPluginFile);
  EXPECT_TRUE(contains(plugin, "lv2:maximum 1 ;")) << plugin;
  EXPECT_TRUE(contains(plugin, "rdfs:label \"a\" ;\n            rdf:value 0\n")) << plugin;
  EXPECT_TRUE(contains(plugin, "rdfs:label \"b\" ;\n            rdf:value 1\n")) << plugin;
}

TEST(BundleTurtleCommand, ABundleWithoutArchiveIsRefusedAndGetsNoFile) {
  const TemporaryDirectory bundle;
  EXPECT_NE(runTurtle(bundle), 0);
  EXPECT_NE(fileText(bundle / "errors.txt").find((bundle / "a.zip").string()), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(bundle / BundleTurtle::kManifestFile));
  EXPECT_FALSE(std::filesystem::exists(bundle / BundleTurtle::kPluginFile));
}
#endif

}  // namespace
