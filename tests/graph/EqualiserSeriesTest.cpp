// The graph runs neighbouring equalisers as one series; the result must be the bits of running
// every node on its own, one after the other, whatever reads the equalisers in between.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "DescriptionGraph.h"
#include "PlanComparison.h"

namespace {

// Equalisers in runs of one to four, a run broken by a parallel branch from the input, a
// mixer reading from inside a run, and clippers in between: hard ones after an equaliser
// (clipping inside the wavefront, or after it when they end one), one after another, one
// with an averaging window, and one ending the chain; levels measured inside a run, whose
// buffer a later stage of the run may take over once they have read it.
const std::string kEqualiserRuns = R"(<torvix>
  <fx id="a" type="eq"/>
  <processor type="averager" id="level" input="a"><param set="0" value="37"/></processor>
  <processor type="averager" id="level2" input="in"><param set="0" value="5"/></processor>
  <fx id="b" type="eq" input="a"/>
  <fx id="c" type="eq"/>
  <fx id="side" type="eq" input="in"/>
  <fx id="d" type="eq" input="c"/>
  <fx id="cut" type="clip"/>
  <fx id="e" type="eq"/>
  <mixer id="blend" input="e" input2="b">
    <param set="0" node="level" get="0"/>
    <param set="1" node="level2" get="0"/>
  </mixer>
  <fx id="f" type="eq"/>
  <fx id="fold" type="clip"/>
  <fx id="again" type="clip"/>
  <fx id="g" type="eq"/>
  <fx id="soft" type="clip"/>
  <fx id="h" type="eq"/>
  <fx id="last" type="clip"/>
  <mixer id="out" input="last" input2="side"/>
</torvix>)";

// Random equaliser presets: order, type, passes (0 to 9), frequency, alpha, K, post gain.
void addRandomPresets(TablePresetLoader& presets, std::mt19937& generator) {
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (const char* id : {"a", "b", "c", "side", "d", "e", "f", "g", "h"}) {
    presets.add(std::string(id) + ".fxp",
                {unit(generator), unit(generator), unit(generator), unit(generator),
                 0.05f + 0.9f * unit(generator), unit(generator), 2.0f * unit(generator)});
  }
  presets.add("cut.fxp", {0.1f, 0.6f, 0.4f, 0.07f, 0.0f});
  presets.add("fold.fxp", {unit(generator), unit(generator), unit(generator), 0.1f, 0.0f});
  presets.add("again.fxp", {0.2f, 0.3f, 0.5f, 0.05f, 0.0f});
  presets.add("soft.fxp", {0.3f, 0.2f, 0.2f, 0.06f, 1.0f});
  presets.add("last.fxp", {unit(generator), unit(generator), unit(generator), 0.08f, 0.0f});
}

AudioNode& named(AudioNode& head, const std::string& name) {
  AudioNode* node = &head;
  while (node->name != name) node = node->next.get();
  return *node;
}

// c takes over the buffer of a once b has read it, as an assignment short of buffers would;
// the level measuring a must read it before c writes there.
void letCTakeOverTheBufferOfA(AudioNode& head) { named(head, "c").outBuf = named(head, "a").outBuf; }

TEST(EqualiserSeries, GivesTheBitsOfRunningNodeByNode) {
  std::mt19937 generator(12);
  for (unsigned trial = 0; trial < 8; ++trial) {
    TablePresetLoader presets;
    addRandomPresets(presets, generator);
    DescriptionGraph series(kEqualiserRuns, presets), plain(kEqualiserRuns, presets);
    ASSERT_TRUE(series.head && plain.head);
    if (trial % 2) {
      letCTakeOverTheBufferOfA(*series.head);
      letCTakeOverTheBufferOfA(*plain.head);
    }
    EXPECT_TRUE(planMatchesNodeByNode(*series.head, *plain.head, {.seed = trial})) << "trial " << trial;
  }
}

// The engine's two input filters make the graph's input; a graph whose first node continues
// them (an equaliser or a clipper reading the input) takes them into its first series.
const std::string kFirstNodes[] = {
    R"(<torvix><fx id="a" type="eq"/><fx id="cut" type="clip"/><fx id="b" type="eq"/></torvix>)",
    R"(<torvix><fx id="cut" type="clip"/><fx id="a" type="eq"/><fx id="b" type="eq" input="in"/>
       <mixer id="m" input="a" input2="b"/></torvix>)",
    R"(<torvix><processor type="averager" id="level" input="in"><param set="0" value="9"/></processor>
       <fx id="a" type="eq" input="in"/><mixer id="m" input="a" input2="a"><param set="0" node="level" get="0"/></mixer>
       </torvix>)",
    R"(<torvix><fx id="d" type="delay"/><fx id="a" type="eq"/></torvix>)",
};

TEST(EqualiserSeries, InputFiltersJoinTheFirstSeriesWithTheBitsOfRunningFirst) {
  std::mt19937 generator(5);
  for (const std::string& description : kFirstNodes) {
    TablePresetLoader presets;
    addRandomPresets(presets, generator);
    DescriptionGraph series(description, presets), plain(description, presets);
    ASSERT_TRUE(series.head && plain.head) << description;
    EXPECT_TRUE(planMatchesNodeByNode(*series.head, *plain.head, {.inputFilters = true})) << description;
  }
}

}  // namespace
