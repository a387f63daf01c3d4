#include "render/PlotWriter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "render/FrequencyContent.h"
#include "render/RenderError.h"
#include "render/StagedOutputFile.h"

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

struct Colour {
  double red, green, blue;
};
constexpr Colour kInk{0.15, 0.15, 0.15};
constexpr Colour kGrid{0.85, 0.85, 0.85};
constexpr Colour kInputColour{0.45, 0.45, 0.45};
constexpr Colour kOutputColour{0.80, 0.20, 0.10};

struct Panel {
  double x, y, width, height;
  double right() const { return x + width; }
  double bottom() const { return y + height; }
};

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

void setColour(cairo_t* cr, Colour colour) {
  cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
}

void drawText(cairo_t* cr, double x, double y, const std::string& text, double size, double alignment = 0.0) {
  cairo_set_font_size(cr, size);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  cairo_move_to(cr, x - alignment * extents.x_advance, y);
  cairo_show_text(cr, text.c_str());
}

void drawLine(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

void drawFrame(cairo_t* cr, const Panel& panel, const std::string& caption) {
  setColour(cr, kInk);
  cairo_set_line_width(cr, 1.0);
  cairo_rectangle(cr, panel.x, panel.y, panel.width, panel.height);
  cairo_stroke(cr);
  drawText(cr, panel.x, panel.y - 6.0, caption, 13.0);
}

std::string numberText(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A round step (1, 2 or 5 times a power of ten) giving about count ticks.
double tickStep(double span, int count) {
  const double rough = span / count;
  const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * magnitude >= rough) return factor * magnitude;
  }
  return 10.0 * magnitude;
}

double peakOf(const std::vector<float>& samples) {
  float peak = 0.0f;
  for (const float sample : samples) peak = std::max(peak, std::fabs(sample));
  return peak;
}

void drawTimeAxis(cairo_t* cr, const Panel& panel, double seconds) {
  const double step = tickStep(seconds, 8);
  for (double t = 0.0; t <= seconds + 1e-9; t += step) {
    const double x = panel.x + panel.width * t / seconds;
    setColour(cr, kGrid);
    drawLine(cr, x, panel.y, x, panel.bottom());
    setColour(cr, kInk);
    drawText(cr, x, panel.bottom() + 14.0, numberText("%g s", t), 11.0, 0.5);
  }
}

void drawAmplitudeAxis(cairo_t* cr, const Panel& panel, double range) {
  for (const double level : {-1.0, 0.0, 1.0}) {
    const double y = panel.y + panel.height * (0.5 - 0.5 * level / range);
    setColour(cr, kGrid);
    drawLine(cr, panel.x, y, panel.right(), y);
    setColour(cr, kInk);
    drawText(cr, panel.x - 6.0, y + 4.0, numberText("%g", level), 11.0, 1.0);
  }
}

// One vertical stroke per pixel column, from the lowest to the highest
// sample that falls into it.
void drawWaveform(cairo_t* cr, const Panel& panel, const std::vector<float>& samples, std::size_t totalFrames,
                  double range, Colour colour) {
  setColour(cr, colour);
  cairo_set_line_width(cr, 1.0);
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
    drawLine(cr, x, yHigh, x, std::max(yLow, yHigh + 1.0));
  }
}

void drawWaveformPanel(cairo_t* cr, const Panel& panel, const std::string& caption,
                       const std::vector<float>& samples, std::size_t totalFrames, double sampleRate,
                       double range, Colour colour) {
  drawTimeAxis(cr, panel, static_cast<double>(totalFrames) / sampleRate);
  drawAmplitudeAxis(cr, panel, range);
  drawWaveform(cr, panel, samples, totalFrames, range, colour);
  drawFrame(cr, panel, caption);
}

double frequencyX(const Panel& panel, double hertz, double highest) {
  return panel.x + panel.width * std::log(hertz / kLowestHertz) / std::log(highest / kLowestHertz);
}

double decibelY(const Panel& panel, double decibels, double top) {
  const double clamped = std::clamp(decibels, top - kDecibelRange, top);
  return panel.y + panel.height * (top - clamped) / kDecibelRange;
}

void drawSpectrumAxes(cairo_t* cr, const Panel& panel, double highest, double top) {
  for (const double hertz : {20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0}) {
    if (hertz > highest) break;
    const double x = frequencyX(panel, hertz, highest);
    setColour(cr, kGrid);
    drawLine(cr, x, panel.y, x, panel.bottom());
    setColour(cr, kInk);
    const std::string label = hertz >= 1000.0 ? numberText("%gk", hertz / 1000.0) : numberText("%g", hertz);
    drawText(cr, x, panel.bottom() + 14.0, label + " Hz", 11.0, 0.5);
  }
  for (double decibels = top; decibels >= top - kDecibelRange; decibels -= 20.0) {
    const double y = decibelY(panel, decibels, top);
    setColour(cr, kGrid);
    drawLine(cr, panel.x, y, panel.right(), y);
    setColour(cr, kInk);
    drawText(cr, panel.x - 6.0, y + 4.0, numberText("%g dB", decibels), 11.0, 1.0);
  }
}

struct CurvePoint {
  double x;
  double decibels;
};

// Where several bins share a pixel column, the loudest one stands for them.
std::vector<CurvePoint> spectrumCurve(const Panel& panel, const FrequencyContent& spectrum, double highest) {
  std::vector<CurvePoint> points;
  for (std::size_t bin = 1; bin < spectrum.decibels.size(); ++bin) {
    const double hertz = static_cast<double>(bin) * spectrum.binHertz;
    if (hertz < kLowestHertz) continue;
    if (hertz > highest) break;
    const double x = std::floor(frequencyX(panel, hertz, highest)) + 0.5;
    if (!points.empty() && points.back().x == x) {
      points.back().decibels = std::max(points.back().decibels, spectrum.decibels[bin]);
    } else {
      points.push_back({x, spectrum.decibels[bin]});
    }
  }
  return points;
}

void drawSpectrumCurve(cairo_t* cr, const Panel& panel, const FrequencyContent& spectrum, double highest,
                       double top, Colour colour) {
  const std::vector<CurvePoint> points = spectrumCurve(panel, spectrum, highest);
  if (points.empty()) return;
  setColour(cr, colour);
  cairo_set_line_width(cr, 1.2);
  cairo_move_to(cr, points.front().x, decibelY(panel, points.front().decibels, top));
  for (const CurvePoint& point : points) cairo_line_to(cr, point.x, decibelY(panel, point.decibels, top));
  cairo_stroke(cr);
}

double loudestBin(const FrequencyContent& spectrum) {
  return spectrum.decibels.empty() ? 0.0
                                   : *std::max_element(spectrum.decibels.begin(), spectrum.decibels.end());
}

void drawSpectrumPanel(cairo_t* cr, const Panel& panel, const RenderPlot& plot) {
  const FrequencyContent input = averageFrequencyContent(plot.input, plot.sampleRate, kSpectrumSize);
  const FrequencyContent output = averageFrequencyContent(plot.output, plot.sampleRate, kSpectrumSize);
  const double highest = std::min(kHighestHertz, plot.sampleRate / 2.0);
  const double top = std::max(0.0, 10.0 * std::ceil(std::max(loudestBin(input), loudestBin(output)) / 10.0));
  drawSpectrumAxes(cr, panel, highest, top);
  drawSpectrumCurve(cr, panel, input, highest, top, kInputColour);
  drawSpectrumCurve(cr, panel, output, highest, top, kOutputColour);
  drawFrame(cr, panel, "Magnitude spectrum (grey: input, red: output)");
}

void drawPlot(cairo_t* cr, const RenderPlot& plot) {
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  setColour(cr, kInk);
  drawText(cr, kLeft, 28.0, plot.title, 18.0);
  const double width = kWidth - kLeft - kRight;
  const std::size_t totalFrames = std::max<std::size_t>(1, std::max(plot.input.size(), plot.output.size()));
  const double range = std::max({1.0, peakOf(plot.input), peakOf(plot.output)}) * 1.05;
  drawWaveformPanel(cr, {kLeft, 60.0, width, 220.0}, "Input", plot.input, totalFrames, plot.sampleRate, range,
                    kInputColour);
  drawWaveformPanel(cr, {kLeft, 330.0, width, 220.0}, "Output", plot.output, totalFrames, plot.sampleRate,
                    range, kOutputColour);
  drawSpectrumPanel(cr, {kLeft, 600.0, width, 260.0}, plot);
}

}  // namespace

void writeRenderPlot(const std::string& path, const RenderPlot& plot) {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight), cairo_surface_destroy);
  Context context(cairo_create(surface.get()), cairo_destroy);
  drawPlot(context.get(), plot);
  cairo_surface_flush(surface.get());
  if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS) {
    throw RenderError("cannot draw " + path + ": " + cairo_status_to_string(cairo_status(context.get())));
  }
  StagedOutputFile staged(path);
  const cairo_status_t status = cairo_surface_write_to_png(surface.get(), staged.stagingPath().c_str());
  if (status != CAIRO_STATUS_SUCCESS)
    throw RenderError("cannot write " + path + ": " + cairo_status_to_string(status));
  staged.commit();
}
