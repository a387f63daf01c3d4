// An equaliser cascade configured from a few settings, for tests.
#pragma once

#include <vector>

#include "processors/IIRCascade.h"
#include "processors/TimeScale.h"

struct Settings {
  int order = 2;
  bool highShelf = false;
  float frequency = 0.5f;
  float k = 0.5f;
  double alpha = 0.95;
  int passes = 4;
  float postGain = 1.0f;
};

// A cascade with its own sample rate, as an effect would own it, designed for the time scale.
struct TestCascade {
  explicit TestCascade(const Settings& settings, float rate = 44100.0f, const TimeScale& scale = TimeScale())
      : sampleRate(rate) {
    cascade.setTimeScale(scale);
    cascade.setOrder(settings.order);
    cascade.setHighShelf(settings.highShelf);
    cascade.setK(settings.k);
    cascade.setAlpha(settings.alpha);
    cascade.setPasses(settings.passes);
    cascade.setPostGain(settings.postGain);
    cascade.designFilter(settings.frequency);
  }

  void process(const float* input, float* output, int count) {
    float* inputs[] = {const_cast<float*>(input)};
    float* outputs[] = {output};
    cascade.processCascade(inputs, outputs, count);
  }

  std::vector<float> run(const std::vector<float>& input) {
    std::vector<float> output(input.size());
    process(input.data(), output.data(), static_cast<int>(input.size()));
    return output;
  }

  float sampleRate;
  IIRCascade cascade{sampleRate};
};
