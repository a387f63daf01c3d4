#include "processors/WavefrontSeries.h"

#include <algorithm>

#include "processors/IIRCascade.h"
#include "processors/PassWavefront.h"
#include "processors/ZrClipper.h"

namespace {

// Gathers the lanes and outputs of one wavefront after another over one block.
class SeriesRun {
 public:
  SeriesRun(const float* source, VstInt32 sampleFrames, VstInt32 lanes)
      : capacity(std::clamp(lanes, 1, PassWavefront::laneCapacity())),
        source(source),
        sampleFrames(sampleFrames) {}

  void addEqualiser(IIRCascade& cascade, float* destination) {
    if (cascade.passes() <= 0) {
      // Outputs silence: its destination holds an earlier block, or another
      // node's or graph's audio, which would otherwise play again.
      runWavefront();
      std::fill(destination, destination + std::max(sampleFrames, 0), 0.0f);
      source = destination;
      return;
    }
    const PassWavefront::Section section = cascade.section();
    for (VstInt32 pass = 0; pass < cascade.passes(); ++pass) {
      // Room for this lane's output, a clipper's, or the output of a pass in the middle.
      if (laneCount == capacity || outputCount + 2 > PassWavefront::kMaxOutputs) runWavefront();
      trailingClipper = nullptr;
      lanes[laneCount] = cascade.lane(section, pass);
      const bool lastPass = pass == cascade.passes() - 1;
      if (lastPass) outputs[outputCount++] = {laneCount, false, destination};
      lastLaneResult = destination;
      lastLaneWritten = lastPass;
      lastLaneClippable = lastPass;
      ++laneCount;
    }
  }

  void addClipper(ZrClipper& clipper, float* destination) {
    if (!lastLaneClippable || !clipper.clipsAsHardClip()) {
      runWavefront();
      float* inputs[] = {const_cast<float*>(source)};
      float* results[] = {destination};
      clipper.processReplacing(inputs, results, sampleFrames);
      source = destination;
      return;
    }
    lanes[laneCount - 1].clip = clipper.hardClipping();
    outputs[outputCount++] = {laneCount - 1, true, destination};
    trailingClipper = &clipper;
    clippedFrom = lastLaneResult;
    lastLaneResult = destination;
    lastLaneClippable = false;
  }

  // The last lane's result is what the next wavefront reads: a pass in the middle of an
  // equaliser leaves it in that equaliser's destination, where the next pass reads it in place.
  // A clipper on the last lane feeds no lane of this wavefront: clipping inside it would
  // only lengthen each step, so it runs on its own afterwards.
  void runWavefront() {
    if (laneCount == 0) return;
    if (!lastLaneWritten) outputs[outputCount++] = {laneCount - 1, true, lastLaneResult};
    if (trailingClipper) {
      lanes[laneCount - 1].clip = HardClip::identity();
      --outputCount;
    }
    PassWavefront(lanes, laneCount).run(source, outputs, outputCount, sampleFrames);
    source = lastLaneResult;
    laneCount = outputCount = 0;
    lastLaneClippable = false;
    if (trailingClipper) {
      float* inputs[] = {clippedFrom};
      float* results[] = {lastLaneResult};
      trailingClipper->processReplacing(inputs, results, sampleFrames);
      trailingClipper = nullptr;
    }
  }

 private:
  const VstInt32 capacity;
  PassWavefront::Lane lanes[PassWavefront::kMaxLanes];
  PassWavefront::Output outputs[PassWavefront::kMaxOutputs];
  VstInt32 laneCount = 0;
  VstInt32 outputCount = 0;
  const float* source;
  const VstInt32 sampleFrames;
  float* lastLaneResult = nullptr;
  bool lastLaneWritten = false;
  bool lastLaneClippable = false;
  // The clipper on the last lane, and the destination of the result it clips.
  ZrClipper* trailingClipper = nullptr;
  float* clippedFrom = nullptr;
};

}  // namespace

void WavefrontSeries::run(const Stage* stages, VstInt32 count, const float* source, VstInt32 sampleFrames,
                          VstInt32 lanes) {
  if (sampleFrames <= 0) return;
  SeriesRun series(source, sampleFrames, lanes);
  for (VstInt32 k = 0; k < count; ++k) {
    if (stages[k].equaliser) {
      series.addEqualiser(*stages[k].equaliser, stages[k].destination);
    } else {
      series.addClipper(*stages[k].clipper, stages[k].destination);
    }
  }
  series.runWavefront();
}
