// Every shipped sound through the engine in this process, once with the eight-lane equaliser
// wavefront of AVX2 and once with four lanes: the same bits, block by block. Skipped where the
// processor has no AVX2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShippedArchive.h"
#include "effect/VelkoranWin.h"
#include "processors/PassWavefront.h"
#include "support/SameSamples.h"

namespace {

std::vector<float> render(std::size_t description, VstInt32 lanes, const std::vector<float>& input) {
  VelkoranWin engine;
  engine.installGraph(engine.prepareGraph(static_cast<VstInt32>(description), lanes));
  std::vector<float> in = input, out(input.size());
  for (std::size_t done = 0, block = 0; done < input.size(); ++block) {
    const auto count =
        std::min(static_cast<std::size_t>(kUnevenBlocks[block % kUnevenBlocks.size()]), input.size() - done);
    float* inputs[] = {in.data() + done};
    float* outputs[] = {out.data() + done};
    engine.processReplacing(inputs, outputs, static_cast<VstInt32>(count));
    done += count;
  }
  return out;
}

TEST(WavefrontWidth, EveryShippedSoundGivesTheSameBitsInEveryWidth) {
  if (PassWavefront::laneCapacity() < 8) GTEST_SKIP() << "this processor has no AVX2";
  ShippedArchive archive;
  const std::vector<std::string> descriptions = archive.descriptionNames();
  ASSERT_FALSE(descriptions.empty());
  const std::vector<float> input = randomSignal(20000, 41, 0.8f);
  for (std::size_t index = 0; index < descriptions.size(); ++index) {
    const std::vector<float> eightLanes = render(index, 8, input);
    const std::vector<float> fourLanes = render(index, PassWavefront::kSse2Lanes, input);
    EXPECT_TRUE(sameSamples(fourLanes, eightLanes)) << descriptions[index];
  }
}

}  // namespace
