// Equalisers and clippers in series over one block, with the equalisers' passes sharing
// wavefronts.
#pragma once

#include "frame/VstInterface.h"

class IIRCascade;
class ZrClipper;

// Stage 0 reads source and every later stage the destination of the one before; each writes
// its own destination, with the same bits as running the stages' processReplacing one after
// another. The passes of the equalisers fill the lanes of one wavefront in order; a hard
// clipper that follows an equaliser clips that equaliser's last lane inside the wavefront.
// A wavefront runs when it is full (the lanes the caller asks for, or its outputs) or
// when a stage cannot join it: a clipper with an averaging window or one that follows no
// equaliser's last lane runs on its own, and an equaliser without passes writes silence.
class WavefrontSeries {
 public:
  // One of equaliser and clipper is set.
  struct Stage {
    IIRCascade* equaliser;
    ZrClipper* clipper;
    float* destination;
  };

  static Stage equaliser(IIRCascade& cascade, float* destination) { return {&cascade, nullptr, destination}; }
  static Stage clipper(ZrClipper& clipper, float* destination) { return {nullptr, &clipper, destination}; }

  // audio, real-time: allocates nothing. Wavefronts take at most lanes lanes, held to 1 to
  // PassWavefront::laneCapacity(); every width gives the same bits.
  static void run(const Stage* stages, VstInt32 count, const float* source, VstInt32 sampleFrames,
                  VstInt32 lanes);
};
