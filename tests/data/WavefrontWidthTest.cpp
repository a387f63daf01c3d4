// Every shipped sound through the engine in this process, once with the widest equaliser
// wavefront the processor allows and once with four lanes: the same bits, block by block.
// (Where the processor has no wider lanes both runs take four, and the test still holds.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShippedArchive.h"
#include "effect/VelkoranWin.h"
#include "processors/PassWavefront.h"
#include "support/SameSamples.h"

namespace {

constexpr VstInt32 kPreset = 3;

std::vector<float> render(std::size_t description, const std::vector<float>& input) {
  VelkoranWin engine;
  engine.lock();
  engine.setUserParameter(kPreset, static_cast<float>(description));
  engine.unlock();
  std::vector<float> in = input, out(input.size());
  for (std::size_t done = 0, block = 0; done < input.size(); ++block) {
    const auto count = std::min(static_cast<std::size_t>(kUnevenBlocks[block % kUnevenBlocks.size()]),
                                input.size() - done);
    float* inputs[] = {in.data() + done};
    float* outputs[] = {out.data() + done};
    engine.processReplacing(inputs, outputs, static_cast<VstInt32>(count));
    done += count;
  }
  return out;
}

TEST(WavefrontWidth, EveryShippedSoundGivesTheSameBitsInEveryWidth) {
  ShippedArchive archive;
  const std::vector<std::string> descriptions = archive.descriptionNames();
  ASSERT_FALSE(descriptions.empty());
  const std::vector<float> input = randomSignal(20000, 41, 0.8f);
  for (std::size_t index = 0; index < descriptions.size(); ++index) {
    PassWavefront::allowWideLanes(true);
    const std::vector<float> widest = render(index, input);
    PassWavefront::allowWideLanes(false);
    const std::vector<float> fourLanes = render(index, input);
    PassWavefront::allowWideLanes(true);
    EXPECT_TRUE(sameSamples(fourLanes, widest)) << descriptions[index];
  }
}

}  // namespace
