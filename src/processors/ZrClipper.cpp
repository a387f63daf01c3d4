#include "processors/ZrClipper.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "frame/TextCopy.h"
#include "processors/ProcessorText.h"
#if TORVIX_WIDE_WAVEFRONT
#include "processors/PassWavefront.h"
#include "processors/WideClipSegments.h"
#include "processors/WideWavefront.h"
#endif

namespace {

enum ClipperParam : VstInt32 { kPreGain, kClipPositive, kClipNegative, kPostGain, kAverageTime };

// Stored gains are a sixteenth of the factor applied, so 0.0625 is unity.
constexpr float kGainScale = 16.0f;

void formatDisplay(char* text, const char* format, float value) {
  std::snprintf(text, kDisplayTextLength + 1, format, static_cast<double>(value));
}

}  // namespace

ZrClipper::ZrClipper(audioMasterCallback audioMaster, const TimeScale& scale)
    : SingleProgramProcessor(audioMaster, kNumParams, {"zrclip", "brelvanix zrclip", 1000}),
      timeScale(scale),
      ring(static_cast<std::size_t>(scale.storageFor(kMaxWindowLength))) {
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
  if (!clipsHard()) {
    limitByAverage<mode>(inputs[0], outputs[0], sampleFrames);
  } else if (antiderivative && clipNegative >= -clipPositive) {
    clipWithAntiderivative<mode>(inputs[0], outputs[0], sampleFrames);
  } else {
    hardClip<mode>(inputs[0], outputs[0], sampleFrames);
  }
}

template <OutputMode mode>
void ZrClipper::hardClip(const float* in, float* out, VstInt32 sampleFrames) const {
  const HardClip clip = hardClipping();
  forEachSample(sampleFrames, [&]<typename Samples>(VstInt32 i) {
    writeOutput<mode>(out + i, clip.apply(loadSamples<Samples>(in + i)));
  });
}

// Second-order antiderivative anti-aliasing: each output is the clipping of the line through
// the samples, weighted by a triangle one sample wide on either side of the previous sample,
// the late half of the segment before it and the early half of the one after. A stretch of
// the block is pre-gained (after the previous block's last sample), its segments integrated
// eight or four at a time, then the halves added, so in and out may be the same buffer.
template <OutputMode mode>
void ZrClipper::clipWithAntiderivative(const float* in, float* out, VstInt32 sampleFrames) {
  const HardClip clip = hardClipping();
  // Zeroed once: whole registers read past a short stretch's last sample.
  alignas(32) float gained[kStretch + 1] = {};
  alignas(32) float late[kStretch + 1] = {};
  alignas(32) float early[kStretch] = {};
  if (!heard && sampleFrames > 0) startAt(in[0] * clip.inputGain, clip);
  for (VstInt32 done = 0; done < sampleFrames; done += kStretch) {
    const VstInt32 count = std::min(kStretch, sampleFrames - done);
    gained[0] = previousGained;
    late[0] = previousLate;
    forEachSample(count, [&]<typename Samples>(VstInt32 i) {
      storeSamples(gained + i + 1, loadSamples<Samples>(in + done + i) * splat<Samples>(clip.inputGain));
    });
    integrateSegments(clip, gained, early, late, count);
    forEachSample(count, [&]<typename Samples>(VstInt32 i) {
      writeOutput<mode>(out + done + i,
                        splat<Samples>(clip.outputGain) * (loadSamples<Samples>(late + i) + loadSamples<Samples>(early + i)));
    });
    previousGained = gained[count];
    previousLate = late[count];
  }
}

// As if the input had been held at its first sample: a clipper that starts on a playing
// signal does not ramp up from zero.
void ZrClipper::startAt(float gained, const HardClip& clip) {
  previousGained = gained;
  previousLate = clipSegment(gained, gained, clip.upper, clip.lower).lateMean;
  heard = true;
}

// The segments of a stretch, eight or four at a time, as the line itself where no sample
// comes near the limits.
void ZrClipper::integrateSegments(const HardClip& clip, const float* gained, float* early, float* late,
                                  VstInt32 count) {
  const bool line = insideTheLimits(clip, gained, count + 1);
#if TORVIX_WIDE_WAVEFRONT
  // The wavefront's width says, once for the module, whether the processor has AVX2.
  if (PassWavefront::laneCapacity() == WideWavefront::kLanes)
    return WideClipSegments::integrate(gained, early, late, count, clip.upper, clip.lower, line);
#endif
  const auto integrate = [&](auto&& segmentOf) {
    forEachSample(count, [&]<typename Samples>(VstInt32 i) {
      const ClippedSegment<Samples> segment =
          segmentOf(loadSamples<Samples>(gained + i), loadSamples<Samples>(gained + i + 1));
      storeSamples(early + i, segment.mean - segment.lateMean);
      storeSamples(late + i + 1, segment.lateMean);
    });
  };
  if (line) {
    integrate([]<typename Samples>(Samples previous, Samples x) { return lineSegment(previous, x); });
  } else {
    integrate([&]<typename Samples>(Samples previous, Samples x) {
      return clipSegment(previous, x, splat<Samples>(clip.upper), splat<Samples>(clip.lower));
    });
  }
}

// Whether every sample lies kLineMargin inside the limits (never with NaN, infinite or equal
// limits), so that clipping would leave the stretch as it is.
bool ZrClipper::insideTheLimits(const HardClip& clip, const float* samples, VstInt32 count) {
  const float margin = kLineMargin * (clip.upper - clip.lower);
  return allBetween(samples, count, clip.lower + margin, clip.upper - margin);
}

HardClip ZrClipper::hardClipping() const {
  return {kGainScale * preGain, clipPositive, -clipNegative, kGainScale * postGain};
}

// The running sum is a true recurrence, so it runs sample by sample over a stretch of the
// block, keeping the pre-gained samples and the sums; the divisions, the comparison and the
// gains then run four samples at a time over that stretch.
template <OutputMode mode>
void ZrClipper::limitByAverage(const float* in, float* out, VstInt32 sampleFrames) {
  const float outputGain = kGainScale * postGain;
  const float length = static_cast<float>(windowLength);
  const float target = clipPositive;
  alignas(16) float gained[kStretch];
  alignas(16) float sums[kStretch];
  for (VstInt32 done = 0; done < sampleFrames; done += kStretch) {
    const VstInt32 count = std::min(kStretch, sampleFrames - done);
    sumWindow(in + done, gained, sums, count);
    forEachSample(count, [&]<typename Samples>(VstInt32 i) {
      const Samples x = loadSamples<Samples>(gained + i);
      const Samples average = loadSamples<Samples>(sums + i) / splat<Samples>(length);
      const Samples limited = (x / average) * splat<Samples>(target);
      const Samples y = select(splat<Samples>(target) < average, limited, x);
      writeOutput<mode>(out + done + i, splat<Samples>(outputGain) * y);
    });
  }
}

// Each slot leaves the sum before the new magnitude enters it; the sum is kept up to date
// slot by slot and never recomputed, so each sample costs the same whatever the window.
void ZrClipper::sumWindow(const float* in, float* gained, float* sums, VstInt32 count) {
  const float inputGain = kGainScale * preGain;
  float* slots = ring.data();
  float sum = runningSum;
  VstInt32 position = windowPosition;
  for (VstInt32 i = 0; i < count; ++i) {
    const float x = in[i] * inputGain;
    const float magnitude = std::fabs(x);
    sum -= slots[position];
    slots[position] = magnitude;
    sum += magnitude;
    if (++position >= windowLength) position = 0;
    gained[i] = x;
    sums[i] = sum;
  }
  runningSum = sum;
  windowPosition = position;
}

void ZrClipper::setAverageTime(float milliseconds) {
  averageTime = milliseconds / 1000.0f;
  applyWindow();
}

// Raw, the window is measured in samples at the rate current now and a later rate change keeps
// it. Otherwise it is measured at the reference rate and stretched to the rate current now; a
// window of 0 or 1 stays hard clipping.
void ZrClipper::applyWindow() {
  const VstInt32 counted = referenceWindow();
  const VstInt32 stretched = counted > 1 ? timeScale.samplesAt(counted, sampleRate) : counted;
  windowLength = std::min(stretched, static_cast<VstInt32>(ring.size()));
  clearSignalState();
}

// A negative (or not-a-number) time gives no window at all, and kMaxWindowLength bounds it above.
VstInt32 ZrClipper::referenceWindow() const {
  const float samples = averageTime * timeScale.referenceRate(sampleRate);
  if (!(samples > 0.0f)) return 0;
  if (samples >= static_cast<float>(kMaxWindowLength)) return kMaxWindowLength;
  return static_cast<VstInt32>(samples);
}

void ZrClipper::setSampleRate(float newSampleRate) {
  AudioEffectX::setSampleRate(newSampleRate);
  if (!timeScale.isRaw()) applyWindow();
}

void ZrClipper::clearSignalState() {
  std::fill(ring.begin(), ring.end(), 0.0f);
  runningSum = 0.0f;
  previousGained = 0.0f;
  previousLate = 0.0f;
  heard = false;
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
