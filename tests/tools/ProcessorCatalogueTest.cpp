#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pack/ProcessorCatalogue.h"

using ::testing::ElementsAre;

// Presets in data/ are written against these names; a processor that renamed
// a parameter would silently stop matching its presets.
TEST(ProcessorCatalogue, ProcessorsDescribeThemselvesAsPresetsExpect) {
  const ProcessorInfo* eq = findProcessorType("eq");
  ASSERT_NE(eq, nullptr);
  EXPECT_EQ(eq->uniqueId, CCONST('z', 'r', 'i', 'i'));
  EXPECT_THAT(eq->parameterNames,
              ElementsAre("Order", "Type", "Nr of passes", "Frequency", "Alpha", "K", "Post gain"));
  const ProcessorInfo* clip = findProcessorType("clip");
  ASSERT_NE(clip, nullptr);
  EXPECT_EQ(clip->uniqueId, CCONST('z', 'r', 'c', 'l'));
  EXPECT_THAT(clip->parameterNames,
              ElementsAre("Pre-gain", "Clip positive", "Clip negative", "Post-gain", "Average time"));
  const ProcessorInfo* inv = findProcessorType("inv");
  ASSERT_NE(inv, nullptr);
  EXPECT_EQ(inv->uniqueId, CCONST('z', 'r', 'i', 'n'));
  EXPECT_THAT(inv->parameterNames, ElementsAre(""));
  const ProcessorInfo* delay = findProcessorType("delay");
  ASSERT_NE(delay, nullptr);
  EXPECT_EQ(delay->uniqueId, CCONST('A', 'D', 'l', 'y'));
  EXPECT_THAT(delay->parameterNames, ElementsAre("Delay", "FeedBack", "Volume"));
  for (const ProcessorInfo& info : processorCatalogue()) EXPECT_EQ(info.effectVersion, 1) << info.typeName;
}

TEST(ProcessorCatalogue, LookupByTypeIgnoresCaseAndByIdIsExact) {
  EXPECT_EQ(findProcessorType("EQ"), findProcessorType("eq"));
  EXPECT_EQ(findProcessorType("eq "), nullptr);
  EXPECT_EQ(findProcessorType(""), nullptr);
  EXPECT_EQ(findProcessorById(CCONST('A', 'D', 'l', 'y')), findProcessorType("delay"));
  EXPECT_EQ(findProcessorById(CCONST('a', 'd', 'l', 'y')), nullptr);
}

TEST(ProcessorCatalogue, ParameterIndexByExactName) {
  const ProcessorInfo* eq = findProcessorType("eq");
  EXPECT_EQ(eq->parameterIndex("Post gain"), 6);
  EXPECT_EQ(eq->parameterIndex("post gain"), -1);
  EXPECT_EQ(findProcessorType("inv")->parameterIndex(""), -1);
}
