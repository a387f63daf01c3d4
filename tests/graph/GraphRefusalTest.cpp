// Descriptions that cannot run soundly are refused as a whole, naming element and line.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DescriptionGraph.h"
#include "graph/ControlReadLimit.h"
#include "graph/GraphBuilder.h"
#include "support/TraceCapture.h"

namespace {

struct Refusal {
  std::string element;
  int line;
  // A part of the reason that the refusal must mention.
  std::string mentions;
};

// Builds text (its root on line 1, the first child on line 2) and expects a refusal.
void expectRefused(const std::string& children, const Refusal& expected) {
  TraceCapture traces;
  DescriptionGraph graph("<torvix>\n" + children + "\n</torvix>");
  EXPECT_EQ(graph.head, nullptr);
  EXPECT_TRUE(graph.report.refused());
  EXPECT_EQ(graph.report.refusalElement, expected.element);
  EXPECT_EQ(graph.report.refusalLine, expected.line);
  EXPECT_NE(graph.report.refusal.find(expected.mentions), std::string::npos) << graph.report.refusal;
  EXPECT_TRUE(graph.report.origins.empty());
  const std::string trace = "description refused: <" + expected.element + "> at line " +
                            std::to_string(expected.line) + ": " + graph.report.refusal + "\n";
  ASSERT_FALSE(traces.messages().empty());
  EXPECT_EQ(traces.messages().back(), trace);
}

TEST(UnknownReferences, InputNamingNoNode) {
  expectRefused(R"(<fx id="a" type="inv"/>
<fx id="b" type="inv" input="c"/>)",
                {"fx", 3, "\"c\""});
}

TEST(UnknownReferences, AnElementCannotReferToItsOwnId) {
  expectRefused(R"(<fx id="a" type="inv" input="a"/>)", {"fx", 2, "\"a\""});
}

TEST(UnknownReferences, Input2NamingNoNode) {
  expectRefused(R"(<mixer id="m" input2="later"/>
<fx id="later" type="inv"/>)",
                {"mixer", 2, "\"later\""});
}

TEST(UnknownReferences, ParamNodeNamingNoNode) {
  expectRefused(R"(<mixer id="m" input="in" input2="in">
  <param set="0" value="1"/>
  <param set="1" node="Lvl" get="0"/>
</mixer>)",
                {"param", 4, "\"Lvl\""});
}

TEST(MissingAttributes, MixerWithoutInput2) {
  expectRefused(R"(<fx id="a" type="inv"/><mixer id="m" input="a"/>)", {"mixer", 2, "input2"});
}

TEST(MissingAttributes, FxWithIdButNoType) { expectRefused(R"(<fx id="a"/>)", {"fx", 2, "type"}); }

TEST(ControlNodesAsAudio, DividerAsMixerInput) {
  expectRefused(R"(<processor id="d" type="divider"/>
<mixer input="d" input2="in"/>)",
                {"mixer", 3, "\"d\""});
}

TEST(ControlNodesAsAudio, AveragerAsMixerInput2) {
  expectRefused(R"(<processor id="v" type="averager"/>
<mixer input="in" input2="v"/>)",
                {"mixer", 3, "\"v\""});
}

TEST(ControlNodesAsAudio, AveragerAsFxInputThroughTheDefault) {
  expectRefused(R"(<fx id="a" type="inv"/>
<processor id="v" type="averager"/>
<fx id="b" type="inv"/>)",
                {"fx", 4, "\"v\""});
}

TEST(ControlNodesAsAudio, DividerMeasuredByAnAverager) {
  expectRefused(R"(<processor type="divider"/>
<processor id="v" type="averager"/>)",
                {"processor", 3, "<processor> of line 2"});
}

TEST(ControlNodesAsAudio, ControlNodeAsOutput) {
  expectRefused(R"(<fx id="a" type="inv"/>
<processor id="d" type="divider" input="a"/>)",
                {"processor", 3, "output"});
}

TEST(ControlNodesAsAudio, ADividerMayFollowAControlNode) {
  DescriptionGraph graph(R"(<torvix><fx id="a" type="inv"/><processor id="v" type="averager"/>
    <processor id="d" type="divider"/><mixer input="a" input2="in"><param set="0" node="d" get="2"/></mixer>
  </torvix>)");
  EXPECT_NE(graph.head, nullptr);
}

TEST(BindingOnlyNodes, FxReadOnlyThroughABinding) {
  expectRefused(R"(<fx id="a" type="clip"/>
<fx id="b" type="inv" input="in"><param set="0" node="a" get="1"/></fx>)",
                {"fx", 2, "bindings"});
}

TEST(BindingOnlyNodes, MixerReadOnlyThroughABinding) {
  expectRefused(R"(<mixer id="m" input="in" input2="in"/>
<processor id="d" type="divider" input="in"><param set="0" node="m" get="0"/></processor>
<fx id="b" type="inv" input="in"><param set="0" node="d" get="2"/></fx>)",
                {"mixer", 2, "bindings"});
}

TEST(AveragerWindow, BelowOneSampleIsRefused) {
  for (const char* window : {"0.999", "0", "-4", "nan", "junk"}) {
    expectRefused(R"(<fx id="a" type="inv"/>
<processor type="averager" input="a"><param set="0" value=")" +
                      std::string(window) + R"("/></processor>
<mixer input="a" input2="in"/>)",
                  {"processor", 3, "window"});
  }
}

TEST(AveragerWindow, LongerThanTheMaximumIsRefused) {
  expectRefused(R"(<processor type="averager"><param set="0" value="16777218"/></processor>
<fx id="b" type="inv" input="in"/>)",
                {"processor", 2, "window"});
}

TEST(AveragerWindow, OneSampleTheDefaultAndAHundredSecondsAreAccepted) {
  DescriptionGraph graph(R"(<torvix><processor type="averager"><param set="0" value="1"/></processor>
    <processor type="averager" input="in"/><processor type="averager" input="in"><param set="0" value="4410000"/>
    </processor><fx id="b" type="inv" input="in"/></torvix>)");
  EXPECT_NE(graph.head, nullptr);
}

// After a divider (line 2), constants averagers with the longest constant window, then
// followed averagers whose windows follow the divider's value, one element per line.
std::string averagerWindows(int constants, int followed) {
  std::string children = "<processor id=\"w\" type=\"divider\" input=\"in\"/>\n";
  for (int i = 0; i < constants; ++i)
    children += "<processor type=\"averager\" input=\"in\"><param set=\"0\" value=\"" +
                std::to_string(AveragerAN::kMaxWindowLength) + "\"/></processor>\n";
  for (int i = 0; i < followed; ++i)
    children +=
        "<processor type=\"averager\" input=\"in\"><param set=\"0\" node=\"w\" get=\"2\"/></processor>\n";
  return children + "<fx id=\"b\" type=\"inv\" input=\"in\"/>";
}

// Histories are allocated only once a description is accepted, so these refusals cost no
// memory.
TEST(AveragerWindow, HistoriesThatCouldExhaustMemoryAreRefused) {
  static_assert(kMaxAveragerHistory == 4 * std::int64_t{AveragerAN::kMaxWindowLength});
  constexpr int kFollowedInOneWindow = AveragerAN::kMaxWindowLength / AveragerAN::kMaxFollowedWindow;
  DescriptionGraph fits("<torvix>" + averagerWindows(0, 4) + "</torvix>");
  EXPECT_NE(fits.head, nullptr);
  expectRefused(averagerWindows(5, 0), {"processor", 7, "histories"});
  expectRefused(averagerWindows(3, kFollowedInOneWindow + 1),
                {"processor", 6 + kFollowedInOneWindow, "histories"});
  expectRefused(averagerWindows(3, kFollowedInOneWindow) + "<processor type=\"averager\" input=\"in\"/>",
                {"processor", 6 + kFollowedInOneWindow, "histories"});
}

// n + 1 buffers live at once: n fx nodes all ordered before the first mixer that reads
// them (they are binding sources of the last mixer), plus the one the input node holds.
std::string wideDescription(int n) {
  std::string children;
  for (int i = 1; i <= n; ++i)
    children += "<fx id=\"f" + std::to_string(i) + "\" type=\"inv\" input=\"in\"/>\n";
  children += "<mixer id=\"m1\" input=\"f1\" input2=\"f2\"/>\n";
  for (int i = 2; i < n - 1; ++i) {
    children += "<mixer id=\"m" + std::to_string(i) + "\" input=\"m" + std::to_string(i - 1) +
                "\" input2=\"f" + std::to_string(i + 1) + "\"/>\n";
  }
  children +=
      "<mixer id=\"last\" input=\"m" + std::to_string(n - 2) + "\" input2=\"f" + std::to_string(n) + "\">";
  for (int i = 1; i <= n; ++i)
    children +=
        "<param set=\"" + std::to_string(10 + i) + "\" node=\"f" + std::to_string(i) + "\" get=\"0\"/>";
  return children + "</mixer>";
}

TEST(BufferPool, FortyEightLiveBuffersFit) {
  DescriptionGraph graph("<torvix>" + wideDescription(47) + "</torvix>");
  ASSERT_NE(graph.head, nullptr);
  std::set<VstInt32> buffers;
  for (int i = 1; i <= 47; ++i) buffers.insert(graph.node("f" + std::to_string(i))->outBuf);
  EXPECT_EQ(buffers.size(), 47u);
}

TEST(BufferPool, MoreLiveBuffersThanThePoolAreRefused) {
  // The first mixer, on line 50, would hold its own buffer and all 48 inverters' at once.
  expectRefused(wideDescription(48), {"mixer", 50, "48 buffers"});
}

// Each divider reads the one before it twice, doubling the calls of one read.
std::string doublingDividers(int n) {
  std::string children = "<processor id=\"d1\" type=\"divider\" input=\"in\"/>\n";
  for (int i = 2; i <= n; ++i) {
    const std::string previous = "d" + std::to_string(i - 1);
    children += "<processor id=\"d" + std::to_string(i) + "\" type=\"divider\"><param set=\"0\" node=\"" +
                previous + "\" get=\"2\"/><param set=\"1\" node=\"" + previous +
                "\" get=\"2\"/></processor>\n";
  }
  return children + "<mixer input=\"in\" input2=\"in\"><param set=\"0\" node=\"d" + std::to_string(n) +
         "\" get=\"2\"/></mixer>";
}

TEST(ControlReads, ReadsWithinTheLimitAreAccepted) {
  // The last of thirteen doubling dividers makes 8191 calls per read.
  static_assert(kMaxControlReadsPerBlock >= 8191);
  for (int dividers : {11, 13}) {
    DescriptionGraph graph("<torvix>" + doublingDividers(dividers) + "</torvix>");
    EXPECT_NE(graph.head, nullptr) << dividers;
  }
}

TEST(ControlReads, ReadsThatWouldNotFinishAreRefused) {
  expectRefused(doublingDividers(14), {"mixer", 16, "8192"});
  expectRefused(doublingDividers(60), {"mixer", 62, "8192"});
}

TEST(ControlReads, TheLimitHoldsForAllReadsOfABlock) {
  // Two mixers reading the last of thirteen dividers: 2 x 8191 calls a block.
  expectRefused(
      doublingDividers(13) + "\n<mixer input2=\"in\"><param set=\"1\" node=\"d13\" get=\"2\"/></mixer>",
      {"mixer", 16, "8192"});
}

// n dividers, each reading the one before once: cheap, but nested n deep.
std::string nestedDividers(int n) {
  std::string children = "<processor id=\"d1\" type=\"divider\" input=\"in\"/>\n";
  for (int i = 2; i <= n; ++i) {
    children += "<processor id=\"d" + std::to_string(i) + "\" type=\"divider\"><param set=\"0\" node=\"d" +
                std::to_string(i - 1) + "\" get=\"2\"/></processor>\n";
  }
  return children + "<mixer input=\"in\" input2=\"in\"><param set=\"0\" node=\"d" + std::to_string(n) +
         "\" get=\"2\"/></mixer>";
}

TEST(ControlReads, ReadsNestedTooDeepAreRefused) {
  DescriptionGraph deepest("<torvix>" + nestedDividers(kMaxControlReadDepth) + "</torvix>");
  EXPECT_NE(deepest.head, nullptr);
  const int tooDeep = kMaxControlReadDepth + 1;
  expectRefused(nestedDividers(tooDeep), {"mixer", tooDeep + 2, "nest"});
}

}  // namespace
