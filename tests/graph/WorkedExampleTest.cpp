// The level-matched distortion: a filter, a clipper, two averagers, a divider and a mixer
// that scales the clipped signal back to the filtered signal's level.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "DescriptionGraph.h"
#include "TestBufferBank.h"
#include "TestSignal.h"
#include "graph/RunPlan.h"
#include "processors/ZrClipper.h"
#include "processors/ZrIIRFilter.h"
#include "support/LevelMatchedDistortion.h"
#include "support/TraceCapture.h"

namespace {

// Pre-gain 4, clipping at +-0.3, post-gain 1, hard clipping.
const std::vector<float> kDistPreset{0.25f, 0.3f, 0.3f, 0.0625f, 0.0f};

class WorkedExample : public ::testing::Test {
 protected:
  WorkedExample() { presets.add("dist.fxp", kDistPreset); }

  TablePresetLoader presets;
};

TEST_F(WorkedExample, ChainBuffersAndFreeList) {
  DescriptionGraph graph(kLevelMatchedDistortion, presets);
  ASSERT_NE(graph.head, nullptr);
  EXPECT_EQ(presets.requested, (std::vector<std::string>{"pre.fxp", "dist.fxp"}));
  EXPECT_EQ(graph.chainIds(),
            (std::vector<std::string>{"in", "pre", "lvlIn", "dist", "lvlOut", "ratio", "out"}));
  EXPECT_EQ(graph.node("out")->outBuf, 1);
  EXPECT_EQ(graph.node("dist")->outBuf, 2);
  EXPECT_EQ(graph.node("pre")->outBuf, 3);
  EXPECT_EQ(graph.head->outBuf, 0);
  for (const char* control : {"lvlIn", "lvlOut", "ratio"})
    EXPECT_EQ(graph.node(control)->outBuf, -1) << control;
  std::vector<VstInt32> freeList;
  for (VstInt32 entry = 5; entry <= 49; ++entry) freeList.push_back(entry);
  freeList.push_back(2);
  freeList.push_back(3);
  EXPECT_EQ(graph.report.freeBuffers, freeList);
}

TEST_F(WorkedExample, TracesInOrder) {
  TraceCapture traces;
  DescriptionGraph graph(kLevelMatchedDistortion, presets);
  const std::vector<std::string> expected{
      // The elements.
      "node:fx 0,1 \n", " id:pre ", "node:fx 0,1 \n", " id:dist ", "node:processor 0,1 \n",
      "processor type:averager\n", "node:processor 0,1 \n", "processor type:averager\n",
      "node:processor 0,1 \n", "processor type:divider\n", "node:mixer 0,1 \n", "\n",
      // The evaluation chain.
      "node:pre, out:0\n", "node:, out:-1\n", "node:dist, out:0\n", "node:, out:-1\n", "node:, out:-1\n",
      "node:, out:1\n",
      // The buffer assignment, from the output node back.
      "node , in:dist outbuf:1\n", "node , in: outbuf:-1\n", "node , in:dist outbuf:-1\n",
      "node dist, in:pre outbuf:2\n", "node , in:pre outbuf:-1\n", "node pre, in: outbuf:3\n"};
  EXPECT_EQ(traces.messages(), expected);
}

// The mean absolute level of the latest samples, summed afresh in double precision.
class WindowModel {
 public:
  explicit WindowModel(std::size_t length) : length(length) {}

  void add(const std::vector<float>& samples) {
    for (float sample : samples) {
      window.push_back(std::fabs(sample));
      if (window.size() > length) window.pop_front();
    }
  }

  double level() const {
    double sum = 0.0;
    for (float magnitude : window) sum += magnitude;
    return sum / static_cast<double>(length);
  }

 private:
  std::size_t length;
  std::deque<float> window;
};

std::vector<float> processed(AudioEffect& processor, std::vector<float> input) {
  std::vector<float> output(input.size());
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};
  processor.processReplacing(inputs, outputs, static_cast<VstInt32>(input.size()));
  return output;
}

TEST_F(WorkedExample, EachBlockScalesTheClippedSignalToTheFilteredLevel) {
  DescriptionGraph graph(kLevelMatchedDistortion, presets);
  ASSERT_NE(graph.head, nullptr);
  ZrIIRFilter filter(oneChannelHost);
  ZrClipper clipper(oneChannelHost);
  for (std::size_t i = 0; i < kDistPreset.size(); ++i)
    clipper.setParameter(static_cast<VstInt32>(i), kDistPreset[i]);
  WindowModel levelIn(256), levelOut(256);
  TestBufferBank bank;
  const RunPlan plan(*graph.head, bank.bank);
  const std::vector<float> signal = testSignal(4000, 0.8f);
  std::size_t done = 0;
  std::size_t written = 0;
  for (std::size_t blockSize : {512u, 100u, 1u, 1000u, 64u, 2323u}) {
    const std::vector<float> block(signal.begin() + done, signal.begin() + done + blockSize);
    done += blockSize;
    const std::vector<float> filtered = processed(filter, block);
    const std::vector<float> clipped = processed(clipper, filtered);
    levelIn.add(filtered);
    levelOut.add(clipped);
    const double gain = std::min(levelIn.level() / levelOut.level(), 100.0);

    bank.fill(BufferBank::kGraphInput, block);
    plan.run(static_cast<VstInt32>(blockSize));

    EXPECT_EQ(bank.read(3, blockSize), filtered) << blockSize;
    EXPECT_EQ(bank.read(2, blockSize), clipped) << blockSize;
    const float ratio = graph.node("ratio")->getValue(2);
    EXPECT_NEAR(ratio, gain, 1e-5 * gain) << blockSize;
    const std::vector<float> out = bank.read(BufferBank::kGraphOutput, blockSize);
    for (std::size_t i = 0; i < blockSize; ++i) {
      ASSERT_EQ(out[i], ratio * clipped[i] + 0.0f * filtered[i]) << blockSize << " " << i;
    }
    written = std::max(written, blockSize);
    EXPECT_EQ(bank[BufferBank::kGraphOutput][written], TestBufferBank::kUntouched);
    ASSERT_TRUE(bank.guardsIntact());
  }
}

}  // namespace
