#include "processors/Oversampler.h"

#include <stdexcept>

#include "processors/HalfBandDesign.h"

namespace {

constexpr int kMaxOctaves = 4;

int octavesOf(int factor) {
  for (int octaves = 1; octaves <= kMaxOctaves; ++octaves)
    if (factor == 1 << octaves) return octaves;
  throw std::invalid_argument("an oversampling factor is 2, 4, 8 or 16");
}

// The stage from rate 2^octave to 2^(octave+1) times the host's keeps the pass band and
// stops its images, which lie the pass band's width below the new rate's half.
std::vector<double> designStage(int octave) {
  const double passBand = Oversampler::kPassBand / (2 << octave);
  return designHalfBand(0.5 - 2.0 * passBand, Oversampler::kAttenuationDb);
}

}  // namespace

const std::vector<double>& Oversampler::stageDesign(int octave) {
  static const std::array<std::vector<double>, kMaxOctaves> designs{designStage(0), designStage(1),
                                                                    designStage(2), designStage(3)};
  return designs.at(static_cast<std::size_t>(octave));
}

Oversampler::Oversampler(int factor, VstInt32 maxFrames) : rateFactor(factor), frameLimit(maxFrames) {
  const int octaves = octavesOf(factor);
  for (int octave = 0; octave < octaves; ++octave) up.emplace_back(stageDesign(octave), HalfBandStage::Direction::up);
  for (int octave = octaves - 1; octave >= 0; --octave) down.emplace_back(stageDesign(octave), HalfBandStage::Direction::down);
  for (std::vector<float>& buffer : scratch) buffer.assign(static_cast<std::size_t>(maxFrames) * factor / 2, 0.0f);
}

void Oversampler::upsample(const float* in, float* out, VstInt32 frames) {
  const int last = static_cast<int>(up.size()) - 1;
  const float* source = in;
  for (int step = 0; step <= last; ++step) {
    float* destination = step == last ? out : scratchFor(step);
    up[step].upsample(source, destination, frames << step);
    source = destination;
  }
}

void Oversampler::downsample(const float* in, float* out, VstInt32 frames) {
  const int last = static_cast<int>(down.size()) - 1;
  const float* source = in;
  for (int step = 0; step <= last; ++step) {
    float* destination = step == last ? out : scratchFor(step);
    down[step].downsample(source, destination, frames << (last - step));
    source = destination;
  }
}

void Oversampler::clear() {
  for (HalfBandStage& stage : up) stage.clear();
  for (HalfBandStage& stage : down) stage.clear();
}
