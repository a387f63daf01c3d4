// The IIR equaliser as an effect of its own: run by "eq" nodes of a graph and
// used as the engine's two input filters.
#pragma once

#include "processors/IIRCascade.h"
#include "processors/SingleProgramProcessor.h"

// A first-order low or high shelf or a second-order peaking filter, run in
// several passes over one channel (IIRCascade), with seven parameters:
// 0 "Order", 1 "Type", 2 "Nr of passes", 3 "Frequency", 4 "Alpha", 5 "K",
// 6 "Post gain". Never handed to the host; it is created with the engine's
// internal host callback and receives every dispatcher call that the host
// makes on the main effect. Its program name is stored cut to 35 characters.
class ZrIIRFilter : public SingleProgramProcessor<36> {
 public:
  enum Parameter : VstInt32 {
    kOrder,
    kType,
    kPasses,
    kFrequency,
    kAlpha,
    kK,
    kPostGain,
    kNumParams,
  };

  // scale: the rate its parameters are designed for (raw: the sample rate
  // itself, as the engine's input filters always run).
  explicit ZrIIRFilter(audioMasterCallback audioMaster, const TimeScale& scale = {});

  // The worker, for the engine, which writes K and the post gain directly
  // and then calls designFilter(cascade().frequency()).
  IIRCascade& cascade() { return filter; }
  const IIRCascade& cascade() const { return filter; }

  // host (forwarded by the engine): sets the channel count from the
  // connection of input pin 1; clears nothing.
  void resume() override;
  // audio: clears the cascade's histories.
  void clearSignalState() override;
  // host (forwarded): stores the rate and redesigns, clearing the
  // histories. A rate that is not positive and finite is ignored.
  void setSampleRate(float newSampleRate) override;
  // host (forwarded): stores the block size, then as setSampleRate.
  void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) override;

  // audio: both run the cascade and replace the output samples.
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  // host or engine (preset loading, under the engine lock): sets one value,
  // then reports it to the host callback with audioMasterAutomate.
  void setParameter(VstInt32 index, float value) override;
  // host or engine: 0 outside the table.
  float getParameter(VstInt32 index) override;
  // host: texts of the table; outside it the text is left untouched.
  // Display texts are cut to kDisplayTextLength characters: the main effect
  // passes the host's own buffer on to its processors.
  void getParameterName(VstInt32 index, char* text) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  // host: the parameters have no unit; an empty text for every index.
  void getParameterLabel(VstInt32 index, char* label) override;

 private:
  void setShelfType(float value);
  void setAlphaValue(float value);
  float frequencyInHz() const;

  IIRCascade filter;
};
