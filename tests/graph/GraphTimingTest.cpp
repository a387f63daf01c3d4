// The root's "oversampling" and "rate": what they read as, and descriptions refused for them.

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>

#include "DescriptionGraph.h"
#include "graph/GraphTiming.h"

namespace {

GraphTimingReading readRoot(const std::string& attributes) {
  TiXmlDocument document;
  document.Parse(("<torvix " + attributes + "/>").c_str());
  EXPECT_FALSE(document.Error()) << attributes;
  return readGraphTiming(*document.FirstChildElement("torvix"));
}

struct Accepted {
  std::string attributes;
  GraphTiming timing;
};

class AcceptedTiming : public testing::TestWithParam<Accepted> {};

TEST_P(AcceptedTiming, ReadsAsExpected) {
  const GraphTimingReading reading = readRoot(GetParam().attributes);
  EXPECT_EQ(reading.refusal, "");
  EXPECT_EQ(reading.timing, GetParam().timing);
}

INSTANTIATE_TEST_SUITE_P(
    GraphTiming, AcceptedTiming,
    testing::Values(Accepted{"", {1, 0.0f}}, Accepted{"oversampling=\"1\"", {1, 0.0f}},
                    Accepted{"oversampling=\"2\"", {2, 0.0f}}, Accepted{"oversampling=\"4\"", {4, 0.0f}},
                    Accepted{"oversampling=\"8\"", {8, 0.0f}}, Accepted{"oversampling=\"16\"", {16, 0.0f}},
                    Accepted{"oversampling=\" 4 \"", {4, 0.0f}}, Accepted{"rate=\"44100\"", {1, 44100.0f}},
                    Accepted{"rate=\"48000.5\"", {1, 48000.5f}}, Accepted{"rate=\"1000\"", {1, 1000.0f}},
                    Accepted{"rate=\"1e6\"", {1, 1.0e6f}},
                    Accepted{"oversampling=\"8\" rate=\"96000\"", {8, 96000.0f}},
                    Accepted{"Oversampling=\"8\" Rate=\"96000\"", {1, 0.0f}}));

struct Refused {
  std::string attributes;
  // The attribute the refusal names.
  std::string mentions;
};

class RefusedTiming : public testing::TestWithParam<Refused> {};

TEST_P(RefusedTiming, NamesTheAttribute) {
  const GraphTimingReading reading = readRoot(GetParam().attributes);
  EXPECT_NE(reading.refusal.find(GetParam().mentions), std::string::npos) << reading.refusal;
  EXPECT_EQ(reading.timing, GraphTiming{});
}

INSTANTIATE_TEST_SUITE_P(
    GraphTiming, RefusedTiming,
    testing::Values(Refused{"oversampling=\"0\"", "oversampling \"0\""},
                    Refused{"oversampling=\"3\"", "oversampling \"3\""},
                    Refused{"oversampling=\"32\"", "oversampling \"32\""},
                    Refused{"oversampling=\"-2\"", "oversampling \"-2\""},
                    Refused{"oversampling=\"+2\"", "oversampling \"+2\""},
                    Refused{"oversampling=\"2.0\"", "oversampling \"2.0\""},
                    Refused{"oversampling=\"4x\"", "oversampling \"4x\""},
                    Refused{"oversampling=\"\"", "oversampling \"\""},
                    Refused{"oversampling=\"99999999999999999999\"", "oversampling"},
                    Refused{"rate=\"0\"", "rate \"0\""}, Refused{"rate=\"-44100\"", "rate \"-44100\""},
                    Refused{"rate=\"999\"", "rate \"999\""}, Refused{"rate=\"2e6\"", "rate \"2e6\""},
                    Refused{"rate=\"inf\"", "rate \"inf\""}, Refused{"rate=\"nan\"", "rate \"nan\""},
                    Refused{"rate=\"1e999\"", "rate \"1e999\""}, Refused{"rate=\"44.1k\"", "rate \"44.1k\""},
                    Refused{"rate=\"\"", "rate \"\""},
                    Refused{"oversampling=\"4\" rate=\"fast\"", "rate \"fast\""}));

TEST(GraphTimingBuild, TheReportCarriesTheTiming) {
  DescriptionGraph graph(
      "<torvix oversampling=\"8\" rate=\"44100\">\n<fx id=\"a\" type=\"inv\"/>\n</torvix>");
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(graph.report.timing, (GraphTiming{8, 44100.0f}));
}

TEST(GraphTimingBuild, ABadFactorRefusesTheRootAtItsLine) {
  DescriptionGraph graph("\n<torvix oversampling=\"6\">\n<fx id=\"a\" type=\"inv\"/>\n</torvix>");
  EXPECT_EQ(graph.head, nullptr);
  EXPECT_EQ(graph.report.refusalElement, "torvix");
  EXPECT_EQ(graph.report.refusalLine, 2);
  EXPECT_NE(graph.report.refusal.find("oversampling \"6\""), std::string::npos) << graph.report.refusal;
  EXPECT_EQ(graph.report.timing, GraphTiming{});
}

TEST(GraphTimingBuild, ABadRateRefusesTheRoot) {
  DescriptionGraph graph("<torvix rate=\"-1\"><fx id=\"a\" type=\"inv\"/></torvix>");
  EXPECT_EQ(graph.head, nullptr);
  EXPECT_EQ(graph.report.refusalElement, "torvix");
  EXPECT_EQ(graph.report.refusalLine, 1);
  EXPECT_NE(graph.report.refusal.find("rate \"-1\""), std::string::npos) << graph.report.refusal;
}

}  // namespace
