#include "render/PlotWriter.h"

#include <algorithm>
#include <cmath>

#include "render/FrequencyContent.h"
#include "render/PlotCanvas.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 900;
constexpr double kLeft = 70.0;
constexpr double kRight = 40.0;
constexpr double kLowestHertz = 20.0;
constexpr double kHighestHertz = 20000.0;
constexpr double kDecibelRange = 100.0;
// Bins of about 5 Hz at 44.1 kHz, fine enough for the lowest guitar notes.
constexpr std::size_t kSpectrumSize = 8192;

double peakOf(const std::vector<float>& samples) {
  float peak = 0.0f;
  for (const float sample : samples) peak = std::max(peak, std::fabs(sample));
  return peak;
}

void drawTimeAxis(PlotCanvas& canvas, const Panel& panel, double seconds) {
  const double step = plotTickStep(seconds, 8);
  for (double t = 0.0; t <= seconds + 1e-9; t += step) {
    const double x = panel.x + panel.width * t / seconds;
    canvas.setColour(kGrid);
    canvas.line(x, panel.y, x, panel.bottom());
    canvas.setColour(kInk);
    canvas.text(x, panel.bottom() + 14.0, plotNumberText("%g s", t), 11.0, 0.5);
  }
}

void drawAmplitudeAxis(PlotCanvas& canvas, const Panel& panel, double range) {
  for (const double level : {-1.0, 0.0, 1.0}) {
    const double y = panel.y + panel.height * (0.5 - 0.5 * level / range);
    canvas.setColour(kGrid);
    canvas.line(panel.x, y, panel.right(), y);
    canvas.setColour(kInk);
    canvas.text(panel.x - 6.0, y + 4.0, plotNumberText("%g", level), 11.0, 1.0);
  }
}

// One vertical stroke per pixel column, from the lowest to the highest
// sample that falls into it.
void drawWaveform(PlotCanvas& canvas, const Panel& panel, const std::vector<float>& samples,
                  std::size_t totalFrames, double range, Colour colour) {
  canvas.setColour(colour);
  cairo_set_line_width(canvas.context(), 1.0);
  const auto columns = static_cast<std::size_t>(panel.width);
  for (std::size_t column = 0; column < columns; ++column) {
    const std::size_t first = column * totalFrames / columns;
    const std::size_t last =
        std::min(samples.size(), std::max(first + 1, (column + 1) * totalFrames / columns));
    if (first >= samples.size()) break;
    const auto [low, high] = std::minmax_element(samples.begin() + first, samples.begin() + last);
    const double x = panel.x + column + 0.5;
    const double yHigh = panel.y + panel.height * (0.5 - 0.5 * *high / range);
    const double yLow = panel.y + panel.height * (0.5 - 0.5 * *low / range);
    canvas.line(x, yHigh, x, std::max(yLow, yHigh + 1.0));
  }
}

void drawWaveformPanel(PlotCanvas& canvas, const Panel& panel, const std::string& caption,
                       const std::vector<float>& samples, std::size_t totalFrames, double sampleRate,
                       double range, Colour colour) {
  drawTimeAxis(canvas, panel, static_cast<double>(totalFrames) / sampleRate);
  drawAmplitudeAxis(canvas, panel, range);
  drawWaveform(canvas, panel, samples, totalFrames, range, colour);
  canvas.frame(panel, caption);
}

double frequencyX(const Panel& panel, double hertz, double highest) {
  return panel.x + panel.width * PlotScale{kLowestHertz, highest, true}.fraction(hertz);
}

double decibelY(const Panel& panel, double decibels, double top) {
  const double clamped = std::clamp(decibels, top - kDecibelRange, top);
  return panel.y + panel.height * (top - clamped) / kDecibelRange;
}

void drawSpectrumAxes(PlotCanvas& canvas, const Panel& panel, double highest, double top) {
  for (const double hertz : {20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0}) {
    if (hertz > highest) break;
    const double x = frequencyX(panel, hertz, highest);
    canvas.setColour(kGrid);
    canvas.line(x, panel.y, x, panel.bottom());
    canvas.setColour(kInk);
    const std::string label =
        hertz >= 1000.0 ? plotNumberText("%gk", hertz / 1000.0) : plotNumberText("%g", hertz);
    canvas.text(x, panel.bottom() + 14.0, label + " Hz", 11.0, 0.5);
  }
  for (double decibels = top; decibels >= top - kDecibelRange; decibels -= 20.0) {
    const double y = decibelY(panel, decibels, top);
    canvas.setColour(kGrid);
    canvas.line(panel.x, y, panel.right(), y);
    canvas.setColour(kInk);
    canvas.text(panel.x - 6.0, y + 4.0, plotNumberText("%g dB", decibels), 11.0, 1.0);
  }
}

// Where several bins share a pixel column, the loudest one stands for them.
std::vector<PlotPoint> spectrumCurve(const Panel& panel, const FrequencyContent& spectrum, double highest,
                                     double top) {
  std::vector<PlotPoint> points;
  for (std::size_t bin = 1; bin < spectrum.decibels.size(); ++bin) {
    const double hertz = static_cast<double>(bin) * spectrum.binHertz;
    if (hertz < kLowestHertz) continue;
    if (hertz > highest) break;
    const double x = std::floor(frequencyX(panel, hertz, highest)) + 0.5;
    const double y = decibelY(panel, spectrum.decibels[bin], top);
    if (!points.empty() && points.back().x == x) {
      points.back().y = std::min(points.back().y, y);
    } else {
      points.push_back({x, y});
    }
  }
  return points;
}

double loudestBin(const FrequencyContent& spectrum) {
  return spectrum.decibels.empty() ? 0.0
                                   : *std::max_element(spectrum.decibels.begin(), spectrum.decibels.end());
}

void drawSpectrumPanel(PlotCanvas& canvas, const Panel& panel, const RenderPlot& plot) {
  const FrequencyContent input = averageFrequencyContent(plot.input, plot.sampleRate, kSpectrumSize);
  const FrequencyContent output = averageFrequencyContent(plot.output, plot.sampleRate, kSpectrumSize);
  const double highest = std::min(kHighestHertz, plot.sampleRate / 2.0);
  const double top = std::max(0.0, 10.0 * std::ceil(std::max(loudestBin(input), loudestBin(output)) / 10.0));
  drawSpectrumAxes(canvas, panel, highest, top);
  canvas.setColour(kInputColour);
  canvas.polyline(spectrumCurve(panel, input, highest, top), 1.2);
  canvas.setColour(kOutputColour);
  canvas.polyline(spectrumCurve(panel, output, highest, top), 1.2);
  canvas.frame(panel, "Magnitude spectrum (grey: input, red: output)");
}

void drawPlot(PlotCanvas& canvas, const RenderPlot& plot) {
  canvas.setColour(kInk);
  canvas.text(kLeft, 28.0, plot.title, 18.0);
  const double width = kWidth - kLeft - kRight;
  const std::size_t totalFrames = std::max<std::size_t>(1, std::max(plot.input.size(), plot.output.size()));
  const double range = std::max({1.0, peakOf(plot.input), peakOf(plot.output)}) * 1.05;
  drawWaveformPanel(canvas, {kLeft, 60.0, width, 220.0}, "Input", plot.input, totalFrames, plot.sampleRate,
                    range, kInputColour);
  drawWaveformPanel(canvas, {kLeft, 330.0, width, 220.0}, "Output", plot.output, totalFrames, plot.sampleRate,
                    range, kOutputColour);
  drawSpectrumPanel(canvas, {kLeft, 600.0, width, 260.0}, plot);
}

}  // namespace

void writeRenderPlot(const std::string& path, const RenderPlot& plot) {
  PlotCanvas canvas(kWidth, kHeight);
  drawPlot(canvas, plot);
  canvas.writePng(path);
}
