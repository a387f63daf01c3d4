#include "render/HeldOutput.h"

#include <algorithm>
#include <cmath>
#include <numbers>

HeldOutput::HeldOutput(int channels, const TailRule& rule, Writer writer)
    : channels(static_cast<std::size_t>(channels)), rule(rule), writer(std::move(writer)) {}

void HeldOutput::add(const float* interleaved, std::int64_t frames) {
  noteLoudFrames(interleaved, frames);
  held.insert(held.end(), interleaved, interleaved + frames * channels);
  added += frames;
  const std::int64_t kept = earliest == kUnknown ? added : std::max(lastLoud + 1, earliest);
  writeUpTo(std::min(kept, added - rule.fade));
}

void HeldOutput::markInputEnd() { earliest = added + rule.shortest; }

std::int64_t HeldOutput::finish() {
  const bool quiet = decayed() && earliest != kUnknown;
  const std::int64_t end = quiet ? std::min(added, std::max(lastLoud + 1, earliest)) : added;
  if (!quiet) fadeOutBefore(end);
  writeUpTo(end);
  held.clear();
  return end;
}

// A NaN counts as loud: it never decays.
void HeldOutput::noteLoudFrames(const float* interleaved, std::int64_t frames) {
  for (std::int64_t frame = frames - 1; frame >= 0; --frame) {
    const float* samples = interleaved + frame * channels;
    const bool loud = std::any_of(samples, samples + channels,
                                  [this](float sample) { return !(std::fabs(sample) <= rule.quietLevel); });
    if (loud) {
      lastLoud = added + frame;
      return;
    }
  }
}

void HeldOutput::writeUpTo(std::int64_t end) {
  const std::int64_t frames = end - heldStart;
  if (frames <= 0) return;
  writer(held.data(), frames);
  held.erase(held.begin(), held.begin() + frames * static_cast<std::int64_t>(channels));
  heldStart = end;
}

// A half cosine from the held level down to zero on the last frame.
void HeldOutput::fadeOutBefore(std::int64_t end) {
  const std::int64_t frames = std::min(rule.fade, end - heldStart);
  const std::int64_t first = end - frames - heldStart;
  for (std::int64_t i = 0; i < frames; ++i) {
    const float gain = static_cast<float>(
        0.5 * (1.0 + std::cos(std::numbers::pi * static_cast<double>(i + 1) / static_cast<double>(frames))));
    float* frame = held.data() + (first + i) * static_cast<std::int64_t>(channels);
    for (std::size_t channel = 0; channel < channels; ++channel) frame[channel] *= gain;
  }
}
