#include "processors/ZrClipper.h"

#include <cmath>
#include <cstdio>

#include "frame/TextCopy.h"
#include "processors/ProcessorText.h"

namespace {

enum ClipperParam : VstInt32 { kPreGain, kClipPositive, kClipNegative, kPostGain, kAverageTime };

// Stored gains are a sixteenth of the factor applied, so 0.0625 is unity.
constexpr float kGainScale = 16.0f;

void formatDisplay(char* text, const char* format, float value) {
  std::snprintf(text, kDisplayTextLength + 1, format, static_cast<double>(value));
}

}  // namespace

ZrClipper::ZrClipper(audioMasterCallback audioMaster)
    : SingleProgramProcessor(audioMaster, kNumParams, {"zrclip", "brelvanix zrclip", 1000}) {
  setNumInputs(2);
  setNumOutputs(2);
  setUniqueID(CCONST('z', 'r', 'c', 'l'));
  canMono();
}

void ZrClipper::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  run<OutputMode::replace>(inputs, outputs, sampleFrames);
}

void ZrClipper::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  run<OutputMode::accumulate>(inputs, outputs, sampleFrames);
}

template <OutputMode mode>
void ZrClipper::run(float** inputs, float** outputs, VstInt32 sampleFrames) {
  const float* in = inputs[0];
  float* out = outputs[0];
  for (VstInt32 i = 0; i < sampleFrames; ++i) writeOutput<mode>(out[i], clipSample(in[i]));
}

float ZrClipper::clipSample(float input) {
  const float x = input * (kGainScale * preGain);
  const float y = windowLength > 1 ? limitByAverage(x) : hardClip(x);
  return (kGainScale * postGain) * y;
}

float ZrClipper::limitByAverage(float x) {
  const float average = movingAverage(std::fabs(x));
  if (clipPositive < average) {
    const float ratio = x / average;
    return ratio * clipPositive;
  }
  return x;
}

float ZrClipper::hardClip(float x) const {
  if (x > clipPositive) return clipPositive;
  if (x < -clipNegative) return -clipNegative;
  return x;
}

// The sum is kept up to date slot by slot and never recomputed, so each sample costs the
// same whatever the window length.
float ZrClipper::movingAverage(float magnitude) {
  runningSum -= ring[windowPosition];
  ring[windowPosition] = magnitude;
  runningSum += ring[windowPosition];
  if (++windowPosition >= windowLength) windowPosition = 0;
  return runningSum / static_cast<float>(windowLength);
}

// The window is measured in samples at the rate current now; a later rate change keeps it.
// A negative (or not-a-number) time gives no window at all, and the ring bounds it above.
void ZrClipper::setAverageTime(float milliseconds) {
  averageTime = milliseconds / 1000.0f;
  const float samples = averageTime * sampleRate;
  if (!(samples > 0.0f)) {
    windowLength = 0;
  } else if (samples >= static_cast<float>(kMaxWindowLength)) {
    windowLength = kMaxWindowLength;
  } else {
    windowLength = static_cast<VstInt32>(samples);
  }
  for (VstInt32 slot = 0; slot < windowLength; ++slot) ring[slot] = 0.0f;
  runningSum = 0.0f;
  windowPosition = 0;
}

void ZrClipper::setParameter(VstInt32 index, float value) {
  switch (index) {
    case kPreGain:
      preGain = value;
      break;
    case kClipPositive:
      clipPositive = value;
      break;
    case kClipNegative:
      clipNegative = value;
      break;
    case kPostGain:
      postGain = value;
      break;
    case kAverageTime:
      setAverageTime(value);
      break;
    default:
      break;
  }
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

float ZrClipper::getParameter(VstInt32 index) {
  switch (index) {
    case kPreGain:
      return preGain;
    case kClipPositive:
      return clipPositive;
    case kClipNegative:
      return clipNegative;
    case kPostGain:
      return postGain;
    case kAverageTime:
      return averageTime * 1000.0f;
    default:
      return 0.0f;
  }
}

void ZrClipper::getParameterName(VstInt32 index, char* text) {
  static constexpr const char* kNames[kNumParams] = {"Pre-gain", "Clip positive", "Clip negative",
                                                     "Post-gain", "Average time"};
  if (index >= 0 && index < kNumParams) copyText(text, kNames[index], kVstMaxNameLen);
}

void ZrClipper::getParameterLabel(VstInt32, char* label) { label[0] = '\0'; }

void ZrClipper::getParameterDisplay(VstInt32 index, char* text) {
  switch (index) {
    case kPreGain:
      formatDisplay(text, "%f", kGainScale * preGain);
      break;
    case kClipPositive:
      formatDisplay(text, "%f", clipPositive);
      break;
    case kClipNegative:
      formatDisplay(text, "%f", clipNegative);
      break;
    case kPostGain:
      formatDisplay(text, "%f", kGainScale * postGain);
      break;
    case kAverageTime:
      formatDisplay(text, "%.2f ms", static_cast<float>(windowLength * 1000) / sampleRate);
      break;
    default:
      break;
  }
}
