// A white picture to draw torvix-render's plots on, with cairo.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

struct Colour {
  double red, green, blue;
};
inline constexpr Colour kInk{0.15, 0.15, 0.15};
inline constexpr Colour kGrid{0.85, 0.85, 0.85};
inline constexpr Colour kInputColour{0.45, 0.45, 0.45};
inline constexpr Colour kOutputColour{0.80, 0.20, 0.10};

// A rectangle of the picture that holds one plot.
struct Panel {
  double x, y, width, height;
  double right() const { return x + width; }
  double bottom() const { return y + height; }
};

// Where the values of one axis lie along it: from low at 0 to high at 1,
// evenly or, when logarithmic, by ratio.
struct PlotScale {
  double low;
  double high;
  bool logarithmic = false;

  double fraction(double value) const;
};

struct PlotPoint {
  double x;
  double y;
};

class PlotCanvas {
 public:
  // A white width x height picture with a sans-serif font.
  PlotCanvas(int width, int height);

  cairo_t* context() { return cr.get(); }

  void setColour(Colour colour);
  // alignment 0 puts x at the text's start, 0.5 at its middle, 1 at its end.
  void text(double x, double y, const std::string& text, double size, double alignment = 0.0);
  void line(double x0, double y0, double x1, double y1);
  void polyline(const std::vector<PlotPoint>& points, double width);
  // The panel's border, with its caption above it.
  void frame(const Panel& panel, const std::string& caption);
  // The picture as a PNG file, which appears only when complete. Throws
  // RenderError when it cannot be drawn or written.
  void writePng(const std::string& path);

 private:
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface;
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr;
};

// printf-style text of one number.
std::string plotNumberText(const char* format, double value);

// A round step (1, 2 or 5 times a power of ten) giving about count ticks.
double plotTickStep(double span, int count);
