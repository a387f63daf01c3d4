// XML errors are placed at the construct that holds them, with line and column.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include "pack/XmlErrorPlace.h"

namespace {

struct PlaceCase {
  const char* what;
  const char* text;
  int line;
  int column;
  const char* mentions;
};

class XmlErrorPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(XmlErrorPlaceTest, PlacesTheError) {
  const PlaceCase& place = GetParam();
  TiXmlDocument document;
  document.SetTabSize(1);
  document.Parse(place.text);
  ASSERT_TRUE(document.Error());
  const XmlErrorPlace found = placeXmlError(place.text, document);
  EXPECT_EQ(found.line, place.line) << found.message;
  EXPECT_EQ(found.column, place.column) << found.message;
  EXPECT_NE(found.message.find(place.mentions), std::string::npos) << found.message;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlErrorPlaceTest,
    ::testing::Values(
        PlaceCase{"Empty", "", 1, 1, "empty"}, PlaceCase{"Blank", "\n  \n", 1, 1, "empty"},
        // The parser notices it at the parent's end tag, a line later.
        PlaceCase{"ElementLeftOpen", "<torvix>\n\t<fx id=\"a\" type=\"clip\">\n</torvix>\n", 2, 2,
                  "<fx> is never closed (</torvix> on line 3"},
        PlaceCase{"ParamLeftOpen",
                  "<torvix>\n<mixer input2=\"in\">\n  <param set=\"0\" value=\"1\">\n</mixer>\n</torvix>\n",
                  3, 3, "<param> is never closed"},
        PlaceCase{"RootLeftOpen", "<torvix>\n  <fx id=\"a\" type=\"clip\"/>\n", 1, 1,
                  "<torvix> is never closed"},
        PlaceCase{"MisspeltEndTag", "<torvix>\n  <fx id=\"a\" type=\"clip\"/>\n</torvx>\n", 3, 1,
                  "</torvx> closes no open element (<torvix> of line 1 is open)"},
        PlaceCase{"CommentLeftOpen", "<torvix>\n<!-- a note\n</torvix>\n", 2, 1, "comment is never closed"},
        PlaceCase{"TagNeverFinished", "<torvix>\n  <fx id=\"a\" type=\"clip\"\n", 2, 3,
                  "<fx is never finished"},
        PlaceCase{"DuplicateAttributeAtTheParser", "<torvix>\n  <fx id=\"a\" id=\"b\"/>\n</torvix>\n", 2, 14,
                  "in the tag <fx>"}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.what); });

}  // namespace
