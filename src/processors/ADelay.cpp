#include "processors/ADelay.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/TextCopy.h"
#include "processors/ProcessorText.h"

namespace {

enum DelayParam : VstInt32 { kDelay, kFeedback, kVolume };

// One unit of "Delay" is 0.2 seconds; the display shows it as milliseconds.
constexpr float kSecondsPerUnit = 0.2f;
constexpr float kMillisecondsPerUnit = 200.0f;

}  // namespace

ADelay::ADelay(audioMasterCallback audioMaster, const TimeScale& scale)
    : BrelvanixProcessor(audioMaster, kNumPrograms, 1, {"Delay", "Delay", 1100}), timeScale(scale) {
  for (std::vector<float>& buffer : buffers)
    buffer.assign(static_cast<std::size_t>(scale.storageFor(kBufferSize)), 0.0f);
  setProgram(0);
  hasVu();
  setNumInputs(2);
  setNumOutputs(2);
  setUniqueID(CCONST('A', 'D', 'l', 'y'));
  resume();
}

void ADelay::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  run<OutputMode::replace>(inputs, outputs, sampleFrames);
}

void ADelay::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  run<OutputMode::accumulate>(inputs, outputs, sampleFrames);
}

// Each slot is read before it is overwritten, so the delay is delayLength samples, and one
// sample when the length is 0 or 1. Every channel starts from the same cursor and advances it
// alike, so the channels stay aligned.
template <OutputMode mode>
void ADelay::run(float** inputs, float** outputs, VstInt32 sampleFrames) {
  const VstInt32 channels = isInputConnected(1) ? 2 : 1;
  VstInt32 reached = cursor;
  for (VstInt32 channel = 0; channel < channels; ++channel) {
    reached = runLine<mode>(buffers[channel].data(), inputs[channel], outputs[channel], sampleFrames);
  }
  cursor = reached;
}

// Between two wraps of the cursor the line is a plain exchange of slots and samples, which
// runs four at a time. Returns the cursor reached.
template <OutputMode mode>
VstInt32 ADelay::runLine(float* line, const float* in, float* out, VstInt32 sampleFrames) const {
  const VstInt32 wrap = std::max(delayLength, 1);
  VstInt32 position = cursor;
  for (VstInt32 done = 0; done < sampleFrames;) {
    const VstInt32 stretch = std::min(sampleFrames - done, std::max(wrap - position, 1));
    float* slots = line + position;
    forEachSample(stretch, [&]<typename Samples>(VstInt32 i) {
      const Samples delayed = loadSamples<Samples>(slots + i);
      storeSamples(slots + i, loadSamples<Samples>(in + done + i));
      writeOutput<mode>(out + done + i, delayed);
    });
    done += stretch;
    position += stretch;
    if (position >= wrap) position = 0;
  }
  return position;
}

// The length follows "Delay" and the current rate, limited to the delay lines; the cursor
// restarts, while the lines keep what they hold.
void ADelay::applyDelay() {
  delayLength = std::min(timeScale.samplesAt(referenceLength(), sampleRate), lineLength());
  reach = std::max(reach, std::max(delayLength, 1));
  cursor = 0;
}

// The length at the reference rate, at most kBufferSize.
VstInt32 ADelay::referenceLength() const {
  const float samples = timeScale.referenceRate(sampleRate) * delay * kSecondsPerUnit;
  if (!(samples > 0.0f)) return 0;
  if (samples >= static_cast<float>(kBufferSize)) return kBufferSize;
  return static_cast<VstInt32>(samples);
}

void ADelay::setParameter(VstInt32 index, float value) {
  switch (index) {
    case kDelay:
      delay = currentProgram().delay = value;
      applyDelay();
      break;
    case kFeedback:
      feedback = currentProgram().feedback = value;
      break;
    case kVolume:
      volume = currentProgram().volume = value;
      break;
    default:
      break;
  }
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

float ADelay::getParameter(VstInt32 index) {
  switch (index) {
    case kDelay:
      return delay;
    case kFeedback:
      return feedback;
    case kVolume:
      return volume;
    default:
      return 0.0f;
  }
}

void ADelay::getParameterName(VstInt32 index, char* text) {
  static constexpr const char* kNames[] = {"Delay", "FeedBack", "Volume"};
  if (index >= kDelay && index <= kVolume) copyText(text, kNames[index], kVstMaxNameLen);
}

void ADelay::getParameterLabel(VstInt32 index, char* label) {
  static constexpr const char* kLabels[] = {"ms", "amount", "dB"};
  if (index >= kDelay && index <= kVolume) copyText(label, kLabels[index], kVstMaxLabelLen);
}

void ADelay::getParameterDisplay(VstInt32 index, char* text) {
  switch (index) {
    case kDelay:
      float2string(delay * kMillisecondsPerUnit, text, kDisplayTextLength);
      break;
    case kFeedback:
      float2string(feedback, text, kDisplayTextLength);
      break;
    case kVolume:
      dB2string(volume, text, kDisplayTextLength);
      break;
    default:
      break;
  }
}

// The number is divided by 200 whatever the index (the "Delay" display's milliseconds back to
// units), so "50" gives 0.25 for every parameter.
bool ADelay::string2parameter(VstInt32 index, char* text) {
  if (!text) return true;
  char* end = nullptr;
  const float number = static_cast<float>(std::strtod(text, &end));
  if (end == text) return false;
  setParameter(index, number / kMillisecondsPerUnit);
  return true;
}

bool ADelay::isProgramNumber(VstInt32 program) { return program >= 0 && program < kNumPrograms; }

void ADelay::setProgram(VstInt32 program) {
  if (!isProgramNumber(program)) return;
  curProgram = program;
  const DelayProgram& chosen = programs[program];
  setParameter(kDelay, chosen.delay);
  setParameter(kFeedback, chosen.feedback);
  setParameter(kVolume, chosen.volume);
}

void ADelay::getProgramName(char* name) {
  const DelayProgram& program = currentProgram();
  if (std::strcmp(program.name, "Init") == 0) {
    std::snprintf(name, kProgramNameTextSize, "%s %d", program.name, static_cast<int>(curProgram + 1));
  } else {
    copyText(name, program.name, kProgramNameTextSize);
  }
}

void ADelay::setProgramName(char* name) {
  copyText(currentProgram().name, name, sizeof currentProgram().name);
}

bool ADelay::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  if (!isProgramNumber(index)) return false;
  copyText(text, programs[index].name, kProgramNameTextSize);
  return true;
}

void ADelay::setSampleRate(float newSampleRate) {
  AudioEffectX::setSampleRate(newSampleRate);
  currentProgram().delay = delay;
  applyDelay();
}

void ADelay::resume() { clearSignalState(); }

// Only the slots a length has reached since the last clearing can hold anything: lines sized for
// the highest rate are cleared no further than they have been used.
void ADelay::clearSignalState() {
  for (std::vector<float>& buffer : buffers) std::fill_n(buffer.begin(), reach, 0.0f);
  reach = std::max(delayLength, 1);
}
