#include "render/CharacterSheetPicture.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "render/PlotCanvas.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 1305;
constexpr Panel kResponsePanel{70.0, 75.0, 500.0, 320.0};
constexpr Panel kHarmonicsPanel{670.0, 75.0, 500.0, 320.0};
constexpr Panel kTransferPanel{70.0, 490.0, 500.0, 320.0};
constexpr Panel kPluckPanel{670.0, 490.0, 500.0, 320.0};
constexpr Panel kAliasingPanel{70.0, 905.0, 1100.0, 320.0};
constexpr double kLowestHertz = 20.0;
constexpr double kHighestHertz = 20000.0;

// A panel with its two scales.
struct Axes {
  Panel panel;
  PlotScale x;
  PlotScale y;

  double left(double value) const { return panel.x + panel.width * x.fraction(value); }
  double top(double value) const {
    return panel.bottom() - panel.height * std::clamp(y.fraction(value), 0.0, 1.0);
  }
};

using Label = std::function<std::string(double)>;

void drawVerticalGrid(PlotCanvas& canvas, const Axes& axes, const std::vector<double>& ticks, const Label& label) {
  for (const double tick : ticks) {
    const double x = axes.left(tick);
    canvas.setColour(kGrid);
    canvas.line(x, axes.panel.y, x, axes.panel.bottom());
    canvas.setColour(kInk);
    canvas.text(x, axes.panel.bottom() + 14.0, label(tick), 11.0, 0.5);
  }
}

void drawHorizontalGrid(PlotCanvas& canvas, const Axes& axes, double step, const char* format) {
  for (double level = axes.y.low; level <= axes.y.high + 1e-9; level += step) {
    const double y = axes.top(level);
    canvas.setColour(kGrid);
    canvas.line(axes.panel.x, y, axes.panel.right(), y);
    canvas.setColour(kInk);
    canvas.text(axes.panel.x - 6.0, y + 4.0, plotNumberText(format, level), 11.0, 1.0);
  }
}

std::vector<double> evenTicks(double low, double high, double step) {
  std::vector<double> ticks;
  for (double tick = low; tick <= high + 1e-9; tick += step) ticks.push_back(tick);
  return ticks;
}

std::vector<PlotPoint> curve(const Axes& axes, const std::vector<LevelPoint>& points) {
  std::vector<PlotPoint> drawn;
  for (const LevelPoint& point : points) drawn.push_back({axes.left(point.x), axes.top(point.decibels)});
  return drawn;
}

void drawCurve(PlotCanvas& canvas, const Axes& axes, const std::vector<LevelPoint>& points, Colour colour) {
  canvas.setColour(colour);
  canvas.polyline(curve(axes, points), 1.5);
}

double loudest(const std::vector<LevelPoint>& points) {
  double level = -1000.0;
  for (const LevelPoint& point : points) level = std::max(level, point.decibels);
  return level;
}

double quietest(const std::vector<LevelPoint>& points) {
  double level = 1000.0;
  for (const LevelPoint& point : points) level = std::min(level, point.decibels);
  return level;
}

// A range of span dB whose top is the loudest point rounded up to 10 dB (at
// least floorTop).
PlotScale levelScale(double loudestLevel, double span, double floorTop) {
  const double top = std::max(floorTop, 10.0 * std::ceil(loudestLevel / 10.0));
  return {top - span, top};
}

std::string hertzLabel(double hertz) {
  return hertz >= 1000.0 ? plotNumberText("%gk", hertz / 1000.0) : plotNumberText("%g", hertz);
}

void drawResponse(PlotCanvas& canvas, const CharacterSheet& sheet) {
  const double highest = std::min(kHighestHertz, sheet.sampleRate / 2.0);
  const Axes axes{kResponsePanel, {kLowestHertz, highest, true}, levelScale(loudest(sheet.response), 60.0, -1000.0)};
  std::vector<double> ticks;
  for (const double hertz : {20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0}) {
    if (hertz <= highest) ticks.push_back(hertz);
  }
  drawVerticalGrid(canvas, axes, ticks, [](double hertz) { return hertzLabel(hertz) + " Hz"; });
  drawHorizontalGrid(canvas, axes, 10.0, "%g dB");
  drawCurve(canvas, axes, sheet.response, kOutputColour);
  canvas.frame(axes.panel, plotNumberText("Frequency response: gain for a sine sweep at %g dBFS",
                                          CharacterSheet::kSweepDbfs));
}

// Where several bins share a pixel column, the loudest stands for them.
std::vector<LevelPoint> spectrumColumns(const Axes& axes, const FrequencyContent& spectrum, double highest) {
  std::vector<LevelPoint> points;
  for (std::size_t bin = 1; bin < spectrum.decibels.size(); ++bin) {
    const double hertz = static_cast<double>(bin) * spectrum.binHertz;
    if (hertz > highest) break;
    const double column = std::floor(axes.left(hertz));
    if (!points.empty() && axes.left(points.back().x) >= column) {
      points.back().decibels = std::max(points.back().decibels, spectrum.decibels[bin]);
    } else {
      points.push_back({hertz, spectrum.decibels[bin]});
    }
  }
  return points;
}

void drawHarmonics(PlotCanvas& canvas, const CharacterSheet& sheet) {
  const double highest = std::min(kHighestHertz, sheet.sampleRate / 2.0);
  const std::vector<LevelPoint> columns = spectrumColumns(
      {kHarmonicsPanel, {0.0, highest}, {-1.0, 0.0}}, sheet.harmonics, highest);
  const Axes axes{kHarmonicsPanel, {0.0, highest}, levelScale(loudest(columns), 140.0, 0.0)};
  drawVerticalGrid(canvas, axes, evenTicks(0.0, highest, plotTickStep(highest, 8)),
                   [](double hertz) { return hertzLabel(hertz) + " Hz"; });
  drawHorizontalGrid(canvas, axes, 20.0, "%g dBFS");
  drawCurve(canvas, axes, columns, kOutputColour);
  canvas.frame(axes.panel, plotNumberText("Harmonics of a 1 kHz sine at -12 dBFS: THD %.3g %%",
                                          100.0 * sheet.distortion));
}

void drawTransfer(PlotCanvas& canvas, const CharacterSheet& sheet) {
  const double low = std::min(CharacterSheet::kQuietestDbfs, 10.0 * std::floor(quietest(sheet.transfer) / 10.0));
  const double high = std::max(0.0, 10.0 * std::ceil(loudest(sheet.transfer) / 10.0));
  const Axes axes{kTransferPanel, {CharacterSheet::kQuietestDbfs, 0.0}, {low, high}};
  drawVerticalGrid(canvas, axes, evenTicks(CharacterSheet::kQuietestDbfs, 0.0, 10.0),
                   [](double level) { return plotNumberText("%g dBFS", level); });
  drawHorizontalGrid(canvas, axes, plotTickStep(high - low, 8), "%g dBFS");
  const double dashes[] = {4.0, 4.0};
  cairo_set_dash(canvas.context(), dashes, 2, 0.0);
  drawCurve(canvas, axes, {{CharacterSheet::kQuietestDbfs, CharacterSheet::kQuietestDbfs}, {0.0, 0.0}}, kInputColour);
  cairo_set_dash(canvas.context(), nullptr, 0, 0.0);
  drawCurve(canvas, axes, sheet.transfer, kOutputColour);
  canvas.frame(axes.panel, "Transfer at 1 kHz: output level against input level (dashed: unchanged)");
}

void drawPluck(PlotCanvas& canvas, const CharacterSheet& sheet) {
  const double seconds = sheet.pluckInput.empty() ? 1.0 : std::ceil(sheet.pluckInput.back().x);
  const double top = std::max(loudest(sheet.pluckInput), loudest(sheet.pluckOutput));
  const Axes axes{kPluckPanel, {0.0, seconds}, levelScale(top, 80.0, 0.0)};
  drawVerticalGrid(canvas, axes, evenTicks(0.0, seconds, plotTickStep(seconds, 8)),
                   [](double t) { return plotNumberText("%g s", t); });
  drawHorizontalGrid(canvas, axes, 10.0, "%g dBFS");
  drawCurve(canvas, axes, sheet.pluckInput, kInputColour);
  drawCurve(canvas, axes, sheet.pluckOutput, kOutputColour);
  canvas.frame(axes.panel, "A plucked 110 Hz string: level over time (grey: input, red: output)");
}

void drawAliasing(PlotCanvas& canvas, const CharacterSheet& sheet) {
  const double quietestPoint = std::min(quietest(sheet.aliasing), quietest(sheet.aliasingAtFactorOne));
  const double low = std::min(-140.0, 20.0 * std::floor(quietestPoint / 20.0));
  const PlotScale frequencies{CharacterSheet::kAliasingLowestHertz, CharacterSheet::kAliasingHighestHertz, true};
  const Axes axes{kAliasingPanel, frequencies, {low, 0.0}};
  drawVerticalGrid(canvas, axes, {100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0},
                   [](double hertz) { return hertzLabel(hertz) + " Hz"; });
  drawHorizontalGrid(canvas, axes, 20.0, "%g dB");
  drawCurve(canvas, axes, sheet.aliasingAtFactorOne, kInputColour);
  drawCurve(canvas, axes, sheet.aliasing, kOutputColour);
  canvas.frame(axes.panel,
               "Aliasing: power off the harmonics of a -12 dBFS sine against its harmonics, 20 Hz to 20 kHz "
               "(red: as designed, grey: at oversampling 1)");
}

}  // namespace

void writeCharacterSheet(const std::string& path, const CharacterSheet& sheet) {
  PlotCanvas canvas(kWidth, kHeight);
  canvas.setColour(kInk);
  canvas.text(kResponsePanel.x, 30.0, sheet.title, 18.0);
  canvas.text(kPluckPanel.right(), 30.0,
              plotNumberText("%g Hz; levels as a sine's peak (RMS + 3 dB)", sheet.sampleRate), 12.0, 1.0);
  drawResponse(canvas, sheet);
  drawHarmonics(canvas, sheet);
  drawTransfer(canvas, sheet);
  drawPluck(canvas, sheet);
  drawAliasing(canvas, sheet);
  canvas.writePng(path);
}
