// The run plan of random descriptions against running every node on its own: the same bits,
// block by block, in every lane width, with and without the input filters before the graph.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "DescriptionGraph.h"
#include "PlanComparison.h"

namespace {

// Writes a description of random nodes wired at random, and random presets for its effects.
class RandomDescription {
 public:
  RandomDescription(unsigned seed, TablePresetLoader& presets) : generator(seed), presets(presets) {}

  std::string write() {
    std::string text = "<torvix>\n";
    const int count = 4 + pick(24);
    for (int i = 0; i < count; ++i) text += element(i, i == count - 1);
    return text + "</torvix>\n";
  }

 private:
  int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(generator); }
  float unit() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(generator); }
  static std::string quoted(const std::string& text) { return "\"" + text + "\""; }
  std::string anyOf(const std::vector<std::string>& ids) {
    return ids[static_cast<std::size_t>(pick(static_cast<int>(ids.size())))];
  }

  // The last element is an effect, so that the output node has audio.
  std::string element(int index, bool last) {
    const std::string id = "n" + std::to_string(index);
    const int kind = last ? pick(5) : pick(9);
    if (kind < 5) return effect(id, kind);
    if (kind == 5) return mixer(id);
    if (kind == 6) return divider(id);
    return averager(id);
  }

  // An input of its own most of the time, else the default: the node declared before, which
  // must have audio.
  std::string input() {
    if (previousHasAudio && pick(3) != 0) return "";
    return " input=" + quoted(anyOf(audio));
  }

  std::string effect(const std::string& id, int kind) {
    static const char* const kTypes[] = {"eq", "eq", "clip", "inv", "delay", "dealy"};
    const std::string type = kTypes[kind == 4 ? 4 + pick(2) : kind];
    if (type == "eq") {
      presets.add(id + ".fxp",
                  {unit(), unit(), unit() * 0.6f, unit(), 0.05f + 0.9f * unit(), unit(), 2.0f * unit()});
    } else if (type == "clip") {
      presets.add(id + ".fxp", {unit(), unit(), unit(), 0.2f * unit(), pick(2) ? 0.0f : unit()});
    } else if (type == "delay") {
      presets.add(id + ".fxp", {0.05f * unit(), unit(), unit()});
    }
    return declare(id, "<fx id=" + quoted(id) + " type=" + quoted(type) + input() + "/>\n", true);
  }

  std::string mixer(const std::string& id) {
    return declare(id,
                   "<mixer id=" + quoted(id) + input() + " input2=" + quoted(anyOf(audio)) + ">" + gain(0) +
                       gain(1) + "</mixer>\n",
                   true);
  }

  // A constant, a level or a ratio, or nothing.
  std::string gain(int set) {
    const std::string index = " set=\"" + std::to_string(set) + "\"";
    switch (pick(4)) {
      case 0:
        return "<param" + index + " value=\"" + std::to_string(2.0f * unit() - 1.0f) + "\"/>";
      case 1:
        return controls.empty() ? "" : "<param" + index + " node=" + quoted(anyOf(controls)) + " get=\"0\"/>";
      case 2:
        return dividers.empty() ? "" : "<param" + index + " node=" + quoted(anyOf(dividers)) + " get=\"2\"/>";
      default:
        return "";
    }
  }

  std::string divider(const std::string& id) {
    const std::string text =
        "<processor type=\"divider\" id=" + quoted(id) + " input=" + quoted(anyOf(audio)) + ">" + gain(0) +
        gain(1) + "<param set=\"7\" value=\"" + std::to_string(1 + pick(50)) + "\"/></processor>\n";
    dividers.push_back(id);
    return declare(id, text, false);
  }

  // A constant window, or one that follows a divider.
  std::string averager(const std::string& id) {
    std::string window = "<param set=\"0\" value=\"" + std::to_string(1 + pick(300)) + "\"/>";
    if (!dividers.empty() && pick(3) == 0)
      window =
          "<param set=\"0\" node=" + quoted(anyOf(dividers)) + " get=\"" + (pick(2) ? "2" : "7") + "\"/>";
    return declare(id,
                   "<processor type=\"averager\" id=" + quoted(id) + " input=" + quoted(anyOf(audio)) + ">" +
                       window + "</processor>\n",
                   false);
  }

  std::string declare(const std::string& id, std::string text, bool hasAudio) {
    (hasAudio ? audio : controls).push_back(id);
    previousHasAudio = hasAudio;
    return text;
  }

  std::mt19937 generator;
  TablePresetLoader& presets;
  std::vector<std::string> audio{"in"};
  std::vector<std::string> controls;
  std::vector<std::string> dividers;
  bool previousHasAudio = true;
};

class RunPlanTest : public ::testing::TestWithParam<VstInt32> {
 protected:
  void SetUp() override {
    if (GetParam() > PassWavefront::laneCapacity()) GTEST_SKIP() << "this processor has no AVX2";
  }
};

TEST_P(RunPlanTest, RandomDescriptionsGiveTheBitsOfRunningNodeByNode) {
  int built = 0;
  for (unsigned seed = 1; seed <= 200; ++seed) {
    TablePresetLoader presets;
    const std::string description = RandomDescription(seed, presets).write();
    DescriptionGraph planned(description, presets), plain(description, presets);
    if (!planned.head) continue;  // more buffers than the pool holds, say
    ++built;
    ASSERT_TRUE(plain.head);
    for (bool inputFilters : {false, true}) {
      EXPECT_TRUE(planMatchesNodeByNode(*planned.head, *plain.head,
                                        {.inputFilters = inputFilters, .lanes = GetParam(), .seed = seed}))
          << description;
    }
  }
  EXPECT_GT(built, 150);
}

INSTANTIATE_TEST_SUITE_P(Widths, RunPlanTest, ::testing::Values(PassWavefront::kSse2Lanes, 8),
                         [](const auto& info) { return std::to_string(info.param) + "Lanes"; });

}  // namespace
