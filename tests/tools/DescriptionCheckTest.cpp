// torvix-pack and graph descriptions: each is built by the plug-in's own builder, with the
// folder's presets, before it goes into an archive; and a designer can see what was built.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "PackFolder.h"
#include "pack/ArchiveSources.h"
#include "pack/DescriptionCheck.h"
#include "pack/DescriptionExplain.h"
#include "pack/EntryPresetLoader.h"
#include "pack/PackError.h"

namespace {

const char* const kLevelMatched = R"(<torvix>
  <fx id="pre" type="eq"/>
  <fx id="dist" type="clip"/>
  <processor type="averager" id="lvlIn" input="pre"><param set="0" value="256"/></processor>
  <processor type="averager" id="lvlOut" input="dist"><param set="0" value="256"/></processor>
  <processor type="divider" id="ratio">
    <param set="0" node="lvlIn" get="0"/><param set="1" node="lvlOut" get="0"/>
  </processor>
  <fx id="spare" type="inv" input="in"/>
  <mixer id="out" input="dist" input2="pre"><param set="0" node="ratio" get="2"/><param set="1" value="0"/></mixer>
</torvix>
)";

const char* const kClipperPreset =
    "processor clip\nPre-gain = 0.25\nClip positive = 0.3\nClip negative = 0.3\nPost-gain = 0.0625\n"
    "Average time = 0\n";

// The message of the PackError that checking the folder's sources throws; empty for none.
std::string checkError(const TemporaryDirectory& folder) {
  try {
    checkDescriptions(collectArchiveSources(folder.path()));
  } catch (const PackError& error) {
    return error.what();
  }
  return "";
}

std::string explained(const TemporaryDirectory& folder, const std::string& file, ExplainFormat format) {
  std::ostringstream out;
  explainDescriptionFile(folder / file, format, out);
  return out.str();
}

// The lines of text that begin with prefix, in order.
std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
  std::istringstream lines(text);
  std::vector<std::string> matching;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(prefix)) matching.push_back(line);
  }
  return matching;
}

TEST(DescriptionCheck, AcceptsWhatTheBuilderBuilds) {
  TemporaryDirectory folder;
  writeSource(folder, "level.xml", kLevelMatched);
  writeSource(folder, "dist.preset", kClipperPreset);
  EXPECT_EQ(checkError(folder), "");
}

TEST(DescriptionCheck, RefusalNamesFileLineAndReason) {
  TemporaryDirectory folder;
  writeSource(folder, "good.xml", kLevelMatched);
  writeSource(folder, "broken.xml",
              "<torvix>\n  <fx id=\"a\" type=\"inv\"/>\n  <mixer input=\"a\"/>\n</torvix>\n");
  EXPECT_EQ(checkError(folder),
            (folder / "broken.xml").string() +
                ":3: the graph builder refuses <mixer>: a mixer needs an \"input2\" attribute");
}

TEST(DescriptionCheck, TimingAttributesAreRefusedWithFileAndLine) {
  TemporaryDirectory folder;
  writeSource(folder, "fast.xml", "<?xml version=\"1.0\"?>\n<torvix oversampling=\"3\">\n</torvix>\n");
  EXPECT_EQ(checkError(folder), (folder / "fast.xml").string() +
                                    ":2: the graph builder refuses <torvix>: the oversampling \"3\" is not "
                                    "one of 1, 2, 4, 8 and 16");
  TemporaryDirectory other;
  writeSource(other, "rated.xml", "<torvix oversampling=\"4\"\n rate=\"44k\">\n</torvix>\n");
  EXPECT_EQ(checkError(other), (other / "rated.xml").string() +
                                   ":1: the graph builder refuses <torvix>: the rate \"44k\" is not a "
                                   "sample rate in Hz from 1000 to 1000000");
}

TEST(DescriptionCheck, XmlErrorsAndMissingRootsAreRefused) {
  TemporaryDirectory folder;
  writeSource(folder, "bad.xml", "<torvix>\n<fx id=\"a\" type=\"inv\">\n</torvix>\n");
  EXPECT_NE(checkError(folder).find((folder / "bad.xml").string() + ":"), std::string::npos);
  TemporaryDirectory other;
  writeSource(other, "rootless.xml", "<graph/>\n");
  EXPECT_EQ(checkError(other), (other / "rootless.xml").string() + ": no root element <torvix>");
}

TEST(DescriptionCheck, ProcessorsGetTheFolderPresets) {
  TemporaryDirectory folder;
  writeSource(folder, "dist.preset", kClipperPreset);
  const std::vector<ArchiveEntry> sources = collectArchiveSources(folder.path());
  EntryPresetLoader presets(sources);
  const BuiltDescription built = buildDescription(kLevelMatched, "level.xml", presets);
  const AudioNode* dist = built.head->next->next->next.get();
  ASSERT_EQ(built.report.origins.at(dist).id, "dist");
  EXPECT_EQ(dist->effect->getParameter(0), 0.25f);
  EXPECT_EQ(dist->effect->getParameter(1), 0.3f);
  EXPECT_EQ(presets.requested(),
            (std::map<std::string, bool>{{"pre.fxp", false}, {"dist.fxp", true}, {"spare.fxp", false}}));
}

TEST(DescriptionExplain, ShowsTheChainBuffersPresetsAndUnreachedNodes) {
  TemporaryDirectory folder;
  writeSource(folder, "level.xml", kLevelMatched);
  writeSource(folder, "dist.preset", kClipperPreset);
  const std::string text = explained(folder, "level.xml", ExplainFormat::kText);
  const std::vector<std::string> nodes = linesStartingWith(text, "  ");
  ASSERT_EQ(nodes.size(), 8u) << text;
  const char* const order[] = {"in ", "pre ", "lvlIn ", "dist ", "lvlOut ", "ratio ", "out ", "spare "};
  for (std::size_t i = 0; i < nodes.size(); ++i)
    EXPECT_TRUE(nodes[i].starts_with("  " + std::string(order[i]))) << nodes[i];
  EXPECT_NE(nodes[1].find("out: 3"), std::string::npos) << nodes[1];
  EXPECT_NE(nodes[1].find("preset pre.fxp (missing"), std::string::npos) << nodes[1];
  EXPECT_NE(nodes[3].find("preset dist.fxp"), std::string::npos) << nodes[3];
  EXPECT_EQ(nodes[3].find("missing"), std::string::npos) << nodes[3];
  EXPECT_NE(nodes[6].find("line 10"), std::string::npos) << nodes[6];
  EXPECT_NE(nodes[6].find("in: dist, pre"), std::string::npos) << nodes[6];
  EXPECT_NE(nodes[6].find("params: 0 <- ratio[2], 1 = 0"), std::string::npos) << nodes[6];
  EXPECT_NE(text.find("free buffers after the assignment: 5-49, 2, 3\n"), std::string::npos) << text;
  EXPECT_NE(text.find("never run"), std::string::npos) << text;
}

// The factor, the named rate, the scale at four host rates and each count of samples at them.
TEST(DescriptionExplain, ShowsTheTimingAndEveryCountOfSamples) {
  TemporaryDirectory folder;
  std::string timed = kLevelMatched;
  timed.replace(0, std::string("<torvix>").size(), R"(<torvix oversampling="4" rate="48000">)");
  writeSource(folder, "level.xml", timed);
  const std::string text = explained(folder, "level.xml", ExplainFormat::kText);
  EXPECT_NE(
      text.find("timing: oversampling 4, written for 48000 Hz: counts of samples and equalisers are scaled "
                "from that rate\n"),
      std::string::npos)
      << text;
  EXPECT_NE(
      text.find("scaling (run rate / reference rate): 3.675 at 44.1 kHz, 4 at 48 kHz, 8 at 96 kHz, 16 at "
                "192 kHz\n"),
      std::string::npos)
      << text;
  const std::vector<std::string> counts = linesStartingWith(text, "counted in samples: ");
  ASSERT_EQ(counts.size(), 2u) << text;
  EXPECT_EQ(counts[0],
            "counted in samples: lvlIn, averager's window of 256 samples: samples at the run rate 941 "
            "(5.33 ms) at 44.1 kHz, 1024 (5.33 ms) at 48 kHz, 2048 (5.33 ms) at 96 kHz, 4096 (5.33 ms) "
            "at 192 kHz");
}

TEST(DescriptionExplain, WritesTheGraphAsDot) {
  TemporaryDirectory folder;
  writeSource(folder, "level.xml", kLevelMatched);
  const std::string dot = explained(folder, "level.xml", ExplainFormat::kDot);
  EXPECT_TRUE(dot.starts_with("digraph \"level.xml\" {\n")) << dot;
  EXPECT_NE(dot.find("n2 [label=\"lvlIn\\naverager\", shape=ellipse];"), std::string::npos) << dot;
  EXPECT_NE(dot.find("n5 -> n6 [style=dashed, label=\"2 -> 0\"];"), std::string::npos) << dot;
  EXPECT_NE(dot.find("n1 -> n6 [label=\"input2\"];"), std::string::npos) << dot;
  EXPECT_NE(dot.find("n7 [label=\"spare\\nfx inv\", style=dotted"), std::string::npos) << dot;
  EXPECT_NE(dot.find("n0 -> n7;"), std::string::npos) << dot;
  EXPECT_TRUE(dot.ends_with("}\n"));
}

TEST(DescriptionExplain, RefusesADescriptionTheBuilderRefuses) {
  TemporaryDirectory folder;
  writeSource(folder, "control-output.xml", "<torvix><processor type=\"divider\"/></torvix>");
  EXPECT_THROW(explained(folder, "control-output.xml", ExplainFormat::kText), PackError);
}

#ifdef TORVIX_PACK_PATH
TEST(DescriptionCheck, CommandRefusesTheFolderAndWritesNoArchive) {
  TemporaryDirectory sources, output;
  writeSource(sources, "bad.xml", "<torvix>\n<fx id=\"a\" type=\"inv\" input=\"b\"/>\n</torvix>\n");
  const std::string command = std::string(TORVIX_PACK_PATH) + " " + (output / "a.zip").string() + " " +
                              sources.path().string() + " 2>" + (output / "errors").string();
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_EQ(fileText(output / "errors"),
            (sources / "bad.xml").string() +
                ":2: the graph builder refuses <fx>: its input \"b\" names no node "
                "declared before it\n");
  EXPECT_FALSE(std::filesystem::exists(output / "a.zip"));
}
#endif

}  // namespace
