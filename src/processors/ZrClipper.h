// The clipper: the distortion's non-linear stage, run by a graph's "clip" nodes.
#pragma once

#include <vector>

#include "processors/HardClip.h"
#include "processors/OutputMode.h"
#include "processors/SingleProgramProcessor.h"
#include "processors/TimeScale.h"

// Pre-gain, then either hard clipping between -clipNegative and clipPositive or, with an
// averaging window of two samples or more, a limiter that scales a sample down whenever the
// moving average of the absolute pre-gained samples exceeds clipPositive; then post-gain.
// Works on channel 0 only. Parameters: 0 "Pre-gain", 1 "Clip positive", 2 "Clip negative",
// 3 "Post-gain" (gains are stored as value, applied as 16 x value), 4 "Average time" in
// milliseconds. The window and its cap of kMaxWindowLength samples count samples at the time
// scale's reference rate; raw, at the sample rate current when the time is set.
class ZrClipper final : public SingleProgramProcessor<32> {
 public:
  static constexpr VstInt32 kNumParams = 5;
  static constexpr VstInt32 kMaxWindowLength = 100;
  // Samples whose sums the limiter keeps at once, on the stack: few enough that the processor
  // overlaps the vector work of one stretch with the running sum of the next.
  static constexpr VstInt32 kStretch = 32;

  // scale: the rate its window is counted at; the ring is allocated here for the longest
  // window that scale may need.
  explicit ZrClipper(audioMasterCallback audioMaster, const TimeScale& scale = {});

  // audio, real-time: writes the clipped channel 0 into output channel 0.
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  // audio, real-time: adds the clipped channel 0 to output channel 0.
  void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  // host or graph thread, not real-time: stores a parameter, then reports it to the host
  // callback (for every index).
  void setParameter(VstInt32 index, float value) override;
  // any thread: the stored value; "Average time" in milliseconds.
  float getParameter(VstInt32 index) override;
  // host thread: parameter texts; unknown indices leave the text untouched.
  void getParameterName(VstInt32 index, char* text) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;

  // graph thread, before the clipper runs: hard clipping with second-order antiderivative
  // anti-aliasing (clipSegment), for graphs that run above the host's rate; it delays the
  // clipping by one sample of that rate. Off by default; the limiter is not affected, nor
  // limits with the lower above the upper.
  void setAntiderivative(bool on) { antiderivative = on; }
  // Whether hard clipping runs as HardClip does, so an equaliser wavefront may do it.
  bool clipsAsHardClip() const { return clipsHard() && !antiderivative; }

  // audio: empties the limiter's averaging window and forgets the previous sample.
  void clearSignalState() override;
  // host (forwarded), not real-time: stores the rate; unless raw, the window is worked out
  // again for it, restarting from an empty window. Allocates nothing.
  void setSampleRate(float newSampleRate) override;

  // The number of samples the limiter averages; 0 or 1 means hard clipping.
  VstInt32 getWindowLength() const { return windowLength; }
  bool clipsHard() const { return windowLength <= 1; }
  // audio: the settings of hard clipping as they stand (used when clipsHard()).
  HardClip hardClipping() const;

 private:
  template <OutputMode mode>
  void run(float** inputs, float** outputs, VstInt32 sampleFrames);
  template <OutputMode mode>
  void hardClip(const float* in, float* out, VstInt32 sampleFrames) const;
  template <OutputMode mode>
  void clipWithAntiderivative(const float* in, float* out, VstInt32 sampleFrames);
  template <OutputMode mode>
  void limitByAverage(const float* in, float* out, VstInt32 sampleFrames);
  static void integrateSegments(const HardClip& clip, const float* gained, float* early, float* late,
                                VstInt32 count);
  void startAt(float gained, const HardClip& clip);
  static bool insideTheLimits(const HardClip& clip, const float* samples, VstInt32 count);
  void sumWindow(const float* in, float* gained, float* sums, VstInt32 count);
  void setAverageTime(float milliseconds);
  void applyWindow();
  VstInt32 referenceWindow() const;

  float clipNegative = 0.5f;
  float clipPositive = 0.5f;
  float preGain = 0.0625f;
  float postGain = 0.0625f;
  VstInt32 windowPosition = 0;
  VstInt32 windowLength = 0;
  float averageTime = 0.0f;  // seconds
  TimeScale timeScale;
  // Slots beyond the window length are never read.
  std::vector<float> ring;
  float runningSum = 0.0f;
  bool antiderivative = false;
  // The last pre-gained sample hard clipping with the antiderivative saw, and the late half
  // of its output still to come.
  float previousGained = 0.0f;
  float previousLate = 0.0f;
  // Whether the clipper has heard a sample since it was made or cleared.
  bool heard = false;
};
