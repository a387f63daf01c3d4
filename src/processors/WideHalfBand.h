// HalfBandStage's steps two to an AVX2 register, built into the 64-bit Linux module
// (TORVIX_WIDE_WAVEFRONT) and used where WideWavefront::available(); elsewhere the stage
// keeps to SSE2 registers of one step each.
//
// The register's low half runs step 2k on a pair of samples, its high half step 2k + 1 on
// the pair some iterations before, which the low half gave then; the next register takes
// the high half's result. So a block of n pairs takes that lag more iterations per register,
// in which the halves outside the block compute from whatever they are given but feed only
// halves outside it too; each half's history is set to the block's start just before its
// first pair and taken just after its last. Every lane does the SSE2 form's float32 steps in
// the same order, so both widths give the same bits.
#pragma once

#include "frame/VstInterface.h"
#include "processors/HalfBandStage.h"

class WideHalfBand {
 public:
  // audio: pairs pairs of samples at the lower rate through the 2 * registers steps (1 or 2
  // registers), as HalfBandStage::upsample or downsample does them; history is read at the
  // start and written back at the end.
  static void run(HalfBandStage::Direction direction, const HalfBandStage::Step* steps,
                  HalfBandStage::History* history, int registers, const float* in, float* out, VstInt32 pairs);
};
