#include "processors/ZrIIRFilter.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "frame/TextCopy.h"
#include "processors/ProcessorText.h"

namespace {

constexpr const char* kParameterNames[ZrIIRFilter::kNumParams] = {
    "Order", "Type", "Nr of passes", "Frequency", "Alpha", "K", "Post gain",
};

constexpr std::size_t kDisplayTextSize = kDisplayTextLength + 1;

bool isParameter(VstInt32 index) { return index >= 0 && index < ZrIIRFilter::kNumParams; }

// Truncates toward zero like a plain conversion, but saturates at the int32
// range and maps NaN to 0, so no parameter value makes the conversion
// undefined.
VstInt32 truncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double lowest = std::numeric_limits<VstInt32>::lowest();
  constexpr double highest = std::numeric_limits<VstInt32>::max();
  if (value <= lowest) return std::numeric_limits<VstInt32>::lowest();
  if (value >= highest) return std::numeric_limits<VstInt32>::max();
  return static_cast<VstInt32>(value);
}

bool isUsableSampleRate(float rate) { return std::isfinite(rate) && rate > 0.0f; }

}  // namespace

ZrIIRFilter::ZrIIRFilter(audioMasterCallback audioMaster, const TimeScale& scale)
    : SingleProgramProcessor(audioMaster, kNumParams, {"zriir", "brelvanix zriir", 1000}),
      filter(sampleRate) {
  filter.setTimeScale(scale);
  setUniqueID(CCONST('z', 'r', 'i', 'i'));
  setNumInputs(2);
  setNumOutputs(2);
  canMono(true);
}

void ZrIIRFilter::resume() { filter.setChannelCount(isInputConnected(1) ? 2 : 1); }

void ZrIIRFilter::clearSignalState() { filter.clearHistories(); }

void ZrIIRFilter::setSampleRate(float newSampleRate) {
  // A zero, negative or non-finite rate would turn every coefficient into
  // inf or NaN and silence the chain for good; keep the previous design.
  if (!isUsableSampleRate(newSampleRate)) return;
  AudioEffectX::setSampleRate(newSampleRate);
  filter.designFilter(filter.frequency());
}

void ZrIIRFilter::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
  AudioEffectX::setBlockSize(newBlockSize);
  setSampleRate(newSampleRate);
}

void ZrIIRFilter::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  process(inputs, outputs, sampleFrames);
}

void ZrIIRFilter::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  filter.processCascade(inputs, outputs, sampleFrames);
}

void ZrIIRFilter::setParameter(VstInt32 index, float value) {
  switch (index) {
    case kOrder:
      filter.setOrder(truncateToInt32(value + 1.5));
      break;
    case kType:
      setShelfType(value);
      break;
    case kPasses:
      filter.setPasses(truncateToInt32(10.0 * static_cast<double>(value)));
      break;
    case kFrequency:
      filter.designFilter(value);
      break;
    case kAlpha:
      setAlphaValue(value);
      break;
    case kK:
      filter.setK(value);
      filter.designFilter(filter.frequency());
      break;
    case kPostGain:
      filter.setPostGain(value);
      break;
    default:
      break;
  }
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void ZrIIRFilter::setShelfType(float value) {
  filter.setHighShelf(value > 0.5f);
  if (filter.order() == 1) filter.designFilter(filter.frequency());
}

void ZrIIRFilter::setAlphaValue(float value) {
  // The first-order design computes alpha itself.
  if (filter.order() == 1) return;
  filter.setAlpha(value);
  filter.designFilter(filter.frequency());
}

float ZrIIRFilter::getParameter(VstInt32 index) {
  switch (index) {
    case kOrder:
      return static_cast<float>(filter.order() - 1);
    case kType:
      return filter.highShelf() ? 1.0f : 0.0f;
    case kPasses:
      return static_cast<float>(filter.passes()) / 10.0f;
    case kFrequency:
      return filter.frequency();
    case kAlpha:
      return static_cast<float>(filter.alpha());
    case kK:
      return filter.k();
    case kPostGain:
      return filter.postGain();
    default:
      return 0.0f;
  }
}

void ZrIIRFilter::getParameterName(VstInt32 index, char* text) {
  if (isParameter(index)) copyText(text, kParameterNames[index], kVstMaxNameLen);
}

float ZrIIRFilter::frequencyInHz() const { return filter.normalizedFrequency() * sampleRate * 0.5f; }

void ZrIIRFilter::getParameterDisplay(VstInt32 index, char* text) {
  const int order = filter.order();
  switch (index) {
    case kOrder:
      std::snprintf(text, kDisplayTextSize, "%d", order);
      break;
    case kType:
      copyText(text, order != 1 ? "N/A" : filter.highShelf() ? "high shelf" : "low shelf", kDisplayTextSize);
      break;
    case kPasses:
      std::snprintf(text, kDisplayTextSize, "%d", filter.passes());
      break;
    case kFrequency:
      std::snprintf(text, kDisplayTextSize, "%d", truncateToInt32(frequencyInHz()));
      break;
    case kAlpha:
      if (order < 2) {
        copyText(text, "N/A", kDisplayTextSize);
      } else {
        std::snprintf(text, kDisplayTextSize, "%f", filter.alpha());
      }
      break;
    case kK:
      std::snprintf(text, kDisplayTextSize, "%f", static_cast<double>(filter.k()));
      break;
    case kPostGain:
      std::snprintf(text, kDisplayTextSize, "%f", static_cast<double>(filter.postGain()));
      break;
    default:
      break;
  }
}

void ZrIIRFilter::getParameterLabel(VstInt32 /*index*/, char* label) { copyText(label, "", 1); }
