// The delay: a plain delay line of up to 0.2 s per unit of "Delay", run by a graph's "delay"
// nodes.
#pragma once

#include <array>
#include <vector>

#include "processors/BrelvanixProcessor.h"
#include "processors/DelayProgram.h"
#include "processors/OutputMode.h"
#include "processors/TimeScale.h"

// The output is the input of delayLength samples earlier (at least one), per channel, with a
// cursor shared by both channels. "FeedBack" and "Volume" are remembered, shown and read back
// but leave the audio alone. Sixteen programs; the delay lines are allocated once here. The
// length and its limit of kBufferSize samples count samples at the time scale's reference
// rate (raw: at the sample rate), and the lines hold the longest length at any rate the scale
// allows for.
class ADelay final : public BrelvanixProcessor {
 public:
  static constexpr VstInt32 kNumPrograms = 16;
  static constexpr VstInt32 kBufferSize = 40000;

  // scale: the rate its length is counted at.
  explicit ADelay(audioMasterCallback audioMaster, const TimeScale& scale = {});

  // audio, real-time: the delayed input replaces the output; two channels when input pin 1 is
  // connected.
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  // audio, real-time: the delayed input is added to the output.
  void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  // host or graph thread, not real-time: 0 "Delay", 1 "FeedBack", 2 "Volume", stored also in
  // the current program; "Delay" moves the wrap point and restarts the cursor. Every index is
  // reported to the host callback.
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  // host thread: parameter texts; unknown indices leave the text untouched.
  void getParameterName(VstInt32 index, char* text) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  // host thread: reads a decimal number and sets the parameter to number / 200.
  bool string2parameter(VstInt32 index, char* text) override;

  // host thread: program selection applies the program's three values; numbers outside 0 to
  // 15 are rejected.
  void setProgram(VstInt32 program) override;
  void getProgramName(char* name) override;
  void setProgramName(char* name) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

  // host thread, not real-time: a new rate recomputes the delay length and restarts the
  // cursor; the delay lines keep their contents.
  void setSampleRate(float newSampleRate) override;
  // host thread, not real-time: clears both delay lines.
  void resume() override;
  // audio: clears both delay lines, as far as their lengths have reached since the last
  // clearing (at most 80000 samples when raw).
  void clearSignalState() override;

  // The delay in samples (the wrap point of the delay lines).
  VstInt32 getDelayLength() const { return delayLength; }
  // The samples each delay line holds.
  VstInt32 lineLength() const { return static_cast<VstInt32>(buffers[0].size()); }

 private:
  template <OutputMode mode>
  void run(float** inputs, float** outputs, VstInt32 sampleFrames);
  template <OutputMode mode>
  VstInt32 runLine(float* line, const float* in, float* out, VstInt32 sampleFrames) const;
  void applyDelay();
  VstInt32 referenceLength() const;
  static bool isProgramNumber(VstInt32 program);
  DelayProgram& currentProgram() { return programs[curProgram]; }

  TimeScale timeScale;
  std::array<DelayProgram, kNumPrograms> programs;
  std::array<std::vector<float>, 2> buffers;
  float delay = 0.0f;
  float feedback = 0.0f;
  float volume = 0.0f;
  VstInt32 delayLength = 0;
  VstInt32 cursor = 0;
  // How far into each line a length has reached since the last clearing: no slot beyond it
  // has been written since.
  VstInt32 reach = 0;
};
