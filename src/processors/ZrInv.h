// The inverter: flips the polarity of a signal, run by a graph's "inv" nodes.
#pragma once

#include "processors/OutputMode.h"
#include "processors/SingleProgramProcessor.h"

// Negates every sample of one channel, or of two when the host reports the second input as
// connected. No parameters and no state between blocks.
class ZrInv final : public SingleProgramProcessor<32> {
 public:
  explicit ZrInv(audioMasterCallback audioMaster);

  // audio, real-time: output = -input; two channels when input pin 2 is connected.
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  // audio, real-time: output -= input; two channels when input pin 1 is connected.
  void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  // host or graph thread: there are no parameters, so setting one does nothing (no report
  // to the host) and every value reads 0.
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  // host thread: names and displays leave the text untouched; the label is empty.
  void getParameterName(VstInt32 index, char* text) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;

 private:
  template <OutputMode mode>
  static void negate(float** inputs, float** outputs, VstInt32 channels, VstInt32 sampleFrames);
};
