// The half-band stage, whose two chains share an SSE register two samples at a time (and
// two steps an AVX2 register where the processor has it), against each chain's sections
// written out sample by sample in the same float32 arithmetic: equal to the bit, whole, in
// uneven pieces and sample by sample, in either width.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "processors/HalfBandStage.h"
#include "processors/Oversampler.h"
#include "support/GuardedBuffer.h"

namespace {

using Direction = HalfBandStage::Direction;

// A section y[n] = a^2 y[n-2] + a x[n] + (1 - a^2) x[n-1] - a x[n-2] of one chain, with its
// own two inputs and outputs before.
struct PlainSection {
  HalfBandStage::Taps taps;
  float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;

  float process(float x) {
    const float y = HalfBandStage::section(taps, x, x1, x2, y2);
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

class PlainStage {
 public:
  explicit PlainStage(const std::vector<double>& coefficients) {
    for (std::size_t k = 0; k < coefficients.size(); ++k)
      chains[k % 2].push_back({HalfBandStage::tapsOf(static_cast<float>(coefficients[k]))});
  }

  std::vector<float> up(const std::vector<float>& in) {
    std::vector<float> out;
    for (const float x : in) {
      out.push_back(process(chains[0], x));
      out.push_back(process(chains[1], x));
    }
    return out;
  }

  std::vector<float> down(const std::vector<float>& in) {
    std::vector<float> out;
    for (std::size_t n = 0; n + 1 < in.size(); n += 2)
      out.push_back(0.5f * (process(chains[1], in[n]) + process(chains[0], in[n + 1])));
    return out;
  }

 private:
  static float process(std::vector<PlainSection>& chain, float x) {
    for (PlainSection& section : chain) x = section.process(x);
    return x;
  }

  std::vector<PlainSection> chains[2];
};

std::vector<float> noise(std::size_t length, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> value(-1.0f, 1.0f);
  std::vector<float> samples(length);
  for (float& sample : samples) sample = value(generator);
  return samples;
}

// The stage over in, in pieces of the given lengths (at the lower rate), repeated.
std::vector<float> inPieces(HalfBandStage& stage, Direction direction, const std::vector<float>& in,
                            const std::vector<VstInt32>& pieces) {
  const bool up = direction == Direction::up;
  const std::size_t frames = up ? in.size() : in.size() / 2;
  GuardedBuffer out(up ? 2 * frames : frames);
  std::size_t done = 0;
  for (std::size_t k = 0; done < frames; ++k) {
    const VstInt32 length = std::min<VstInt32>(pieces[k % pieces.size()], static_cast<VstInt32>(frames - done));
    if (up) {
      stage.upsample(in.data() + done, out.data() + 2 * done, length);
    } else {
      stage.downsample(in.data() + 2 * done, out.data() + done, length);
    }
    done += length;
  }
  EXPECT_TRUE(out.guardsIntact());
  return out.samples();
}

struct Case {
  int octave;
  Direction direction;
  std::vector<VstInt32> pieces;
  int registerLanes;
};

class StageAgainstPlainForm : public testing::TestWithParam<Case> {};

TEST_P(StageAgainstPlainForm, EqualToTheBit) {
  const Case& c = GetParam();
  const std::vector<double>& design = Oversampler::stageDesign(c.octave);
  const std::size_t frames = 1001;
  const std::vector<float> in = noise(c.direction == Direction::up ? frames : 2 * frames, 17u + c.octave);
  PlainStage plain(design);
  const std::vector<float> expected = c.direction == Direction::up ? plain.up(in) : plain.down(in);
  HalfBandStage stage(design, c.direction, c.registerLanes);
  const std::vector<float> out = inPieces(stage, c.direction, in, c.pieces);
  ASSERT_EQ(out.size(), expected.size());
  for (std::size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], expected[i]) << i;
}

std::vector<Case> cases() {
  std::vector<Case> all;
  for (int octave = 0; octave < 4; ++octave)
    for (const Direction direction : {Direction::up, Direction::down})
      for (const std::vector<VstInt32>& pieces :
           {std::vector<VstInt32>{1001}, std::vector<VstInt32>{7, 300, 1, 64}, std::vector<VstInt32>{1},
            std::vector<VstInt32>{2, 3}, std::vector<VstInt32>{4, 5, 6}, std::vector<VstInt32>{17, 18, 19, 20}})
        for (const int registerLanes : {4, 8}) all.push_back({octave, direction, pieces, registerLanes});
  return all;
}

INSTANTIATE_TEST_SUITE_P(HalfBandStage, StageAgainstPlainForm, testing::ValuesIn(cases()));

TEST(HalfBandStage, ClearForgetsTheSignal) {
  const std::vector<float> in = noise(300, 5u);
  for (const Direction direction : {Direction::up, Direction::down}) {
    HalfBandStage fresh(Oversampler::stageDesign(0), direction), used(Oversampler::stageDesign(0), direction);
    inPieces(used, direction, in, {300});
    used.clear();
    EXPECT_EQ(inPieces(used, direction, in, {300}), inPieces(fresh, direction, in, {300}));
  }
}

TEST(HalfBandStage, RefusesNoSectionsOrMoreThanEight) {
  EXPECT_THROW(HalfBandStage({}, Direction::up), std::invalid_argument);
  EXPECT_THROW(HalfBandStage(std::vector<double>(9, 0.5), Direction::down), std::invalid_argument);
}

}  // namespace
