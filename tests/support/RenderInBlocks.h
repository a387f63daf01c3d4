// Plays a signal through a hosted effect the way a host does: in blocks of varying size.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "host/HostedEffect.h"
#include "support/GuardedBuffer.h"

// Plays the input in blocks of the given sizes, in turn, into a guarded buffer and returns the
// output; fails the calling test when the effect writes outside the block. Users link torvix_host.
inline std::vector<float> renderInBlocks(HostedEffect& effect, const std::vector<float>& input,
                                         const std::vector<VstInt32>& blockSizes) {
  GuardedBuffer in(input.size());
  std::copy(input.begin(), input.end(), in.data());
  GuardedBuffer out(input.size(), 7.0f);
  std::size_t done = 0;
  for (std::size_t block = 0; done < input.size(); ++block) {
    const VstInt32 size =
        std::min<VstInt32>(blockSizes[block % blockSizes.size()], static_cast<VstInt32>(input.size() - done));
    float* inputs[] = {in.data() + done};
    float* outputs[] = {out.data() + done};
    effect.processReplacing(inputs, outputs, size);
    done += static_cast<std::size_t>(size);
  }
  EXPECT_TRUE(in.guardsIntact());
  EXPECT_TRUE(out.guardsIntact());
  return out.samples();
}
