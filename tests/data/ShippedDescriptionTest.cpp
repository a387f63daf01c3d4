// The shipped descriptions as the builder sees them: each must build whole,
// with every node run and every preset found, and together they must offer
// every kind of node to the preset designers who copy from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "ShippedArchive.h"
#include "graph/AveragerAN.h"
#include "graph/DividerAN.h"
#include "graph/ProcessorFactory.h"

namespace {

std::size_t chainLength(const AudioNode& head) {
  std::size_t length = 0;
  for (const AudioNode* node = &head; node; node = node->next.get()) ++length;
  return length;
}

// The kinds of node in one chain: "mixer", "divider", "averager" and the fx
// types "eq", "clip", "inv", "delay".
std::set<std::string> nodeKinds(const AudioNode& head) {
  std::set<std::string> kinds;
  for (const AudioNode* node = head.next.get(); node; node = node->next.get()) {
    if (node->kind == AudioNode::kMixer) kinds.insert("mixer");
    if (dynamic_cast<const DividerAN*>(node)) kinds.insert("divider");
    if (dynamic_cast<const AveragerAN*>(node)) kinds.insert("averager");
    if (node->kind != AudioNode::kEffect) continue;
    switch (node->fxType) {
      case kEqualiser:
        kinds.insert("eq");
        break;
      case kClipper:
        kinds.insert("clip");
        break;
      case kInverter:
        kinds.insert("inv");
        break;
      case kDelay:
        kinds.insert("delay");
        break;
      default:
        break;
    }
  }
  return kinds;
}

class ShippedDescriptionTest : public ::testing::Test {
 protected:
  ShippedArchive archive;
};

TEST_F(ShippedDescriptionTest, TheArchiveHoldsAtLeastFiveSoundsAndStartsWithCrunch) {
  const std::vector<std::string> names = archive.descriptionNames();
  ASSERT_GE(names.size(), 5u);
  // The first in byte order is the sound a new instance starts with.
  EXPECT_EQ(names.front(), "crunch.xml");
  for (const std::string& name : names) {
    EXPECT_TRUE(name.ends_with(".xml")) << name;
    EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        << name << " is not a lower-case name";
  }
}

TEST_F(ShippedDescriptionTest, EveryDescriptionBuildsWithAllItsNodesRunAndItsPresetsFound) {
  for (const std::string& name : archive.descriptionNames()) {
    SCOPED_TRACE(name);
    const BuiltDescription built = archive.build(name);
    ASSERT_EQ(built.readError, "");
    ASSERT_NE(built.head, nullptr) << "refused at <" << built.report.refusalElement << "> of line "
                                   << built.report.refusalLine << ": " << built.report.refusal;
    // A node that the output does not reach is never run: a slip in an input or id.
    EXPECT_EQ(chainLength(*built.head), built.report.origins.size());
    for (const AudioNode* node = built.head->next.get(); node; node = node->next.get()) {
      if (node->kind == AudioNode::kEffect) {
        EXPECT_NE(node->effect, nullptr) << node->name << " has no processor";
      }
    }
    EXPECT_FALSE(built.presetsRequested.empty());
    EXPECT_EQ(built.presetsMissing, std::vector<std::string>{});
  }
}

TEST_F(ShippedDescriptionTest, EveryPresetOfTheArchiveBelongsToAProcessor) {
  // The engine's input filters, and every processor of every description.
  std::set<std::string> used{"bass.fxp", "lo_mid.fxp"};
  for (const std::string& name : archive.descriptionNames()) {
    const BuiltDescription built = archive.build(name);
    used.insert(built.presetsRequested.begin(), built.presetsRequested.end());
  }
  std::set<std::string> presets;
  for (const std::string& member : archive.memberNames()) {
    if (member.ends_with(".fxp")) presets.insert(member);
  }
  // A preset nobody loads is usually one whose fx id was misspelt.
  EXPECT_EQ(presets, used);
}

TEST_F(ShippedDescriptionTest, TogetherTheDescriptionsUseEveryKindOfNode) {
  std::set<std::string> kinds;
  for (const std::string& name : archive.descriptionNames()) {
    const BuiltDescription built = archive.build(name);
    ASSERT_NE(built.head, nullptr) << name;
    kinds.merge(nodeKinds(*built.head));
  }
  EXPECT_EQ(kinds, (std::set<std::string>{"averager", "clip", "delay", "divider", "eq", "inv", "mixer"}));
}

}  // namespace
