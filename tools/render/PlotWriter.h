// The demo's pictures: what a description does to the riff.
#pragma once

#include <string>
#include <vector>

struct RenderPlot {
  std::string title;
  const std::vector<float>& input;
  const std::vector<float>& output;
  double sampleRate;
};

// Writes a PNG with three panels: the input waveform, the output waveform
// (on the same time axis) and both magnitude spectra in dB over a
// logarithmic frequency axis. The file appears only when complete. Throws
// RenderError when it cannot be written.
void writeRenderPlot(const std::string& path, const RenderPlot& plot);
