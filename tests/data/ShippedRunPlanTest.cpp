// Every shipped sound through its run plan against its nodes run one by one: the same bits,
// block by block, in every lane width, with the input filters joining the first series and
// without them.
#include <gtest/gtest.h>

#include <string>

#include "ShippedArchive.h"
#include "graph/PlanComparison.h"

namespace {

TEST(ShippedRunPlan, EverySoundGivesTheBitsOfRunningNodeByNode) {
  ShippedArchive archive;
  const std::vector<std::string> names = archive.descriptionNames();
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) {
    for (const VstInt32 lanes : {PassWavefront::kSse2Lanes, PassWavefront::laneCapacity()}) {
      for (const bool inputFilters : {false, true}) {
        BuiltDescription planned = archive.build(name), plain = archive.build(name);
        ASSERT_TRUE(planned.head && plain.head) << name;
        EXPECT_TRUE(planMatchesNodeByNode(*planned.head, *plain.head,
                                          {.inputFilters = inputFilters, .lanes = lanes, .samples = 20000}))
            << name;
      }
    }
  }
}

}  // namespace
