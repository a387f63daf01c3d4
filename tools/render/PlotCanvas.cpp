#include "render/PlotCanvas.h"

#include <cmath>
#include <cstdio>

#include "render/RenderError.h"
#include "render/StagedOutputFile.h"

double PlotScale::fraction(double value) const {
  if (logarithmic) return std::log(value / low) / std::log(high / low);
  return (value - low) / (high - low);
}

PlotCanvas::PlotCanvas(int width, int height)
    : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy),
      cr(cairo_create(surface.get()), cairo_destroy) {
  cairo_set_source_rgb(context(), 1.0, 1.0, 1.0);
  cairo_paint(context());
  cairo_select_font_face(context(), "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

void PlotCanvas::setColour(Colour colour) {
  cairo_set_source_rgb(context(), colour.red, colour.green, colour.blue);
}

void PlotCanvas::text(double x, double y, const std::string& text, double size, double alignment) {
  cairo_set_font_size(context(), size);
  cairo_text_extents_t extents;
  cairo_text_extents(context(), text.c_str(), &extents);
  cairo_move_to(context(), x - alignment * extents.x_advance, y);
  cairo_show_text(context(), text.c_str());
}

void PlotCanvas::line(double x0, double y0, double x1, double y1) {
  cairo_move_to(context(), x0, y0);
  cairo_line_to(context(), x1, y1);
  cairo_stroke(context());
}

void PlotCanvas::polyline(const std::vector<PlotPoint>& points, double width) {
  if (points.empty()) return;
  cairo_set_line_width(context(), width);
  cairo_move_to(context(), points.front().x, points.front().y);
  for (const PlotPoint& point : points) cairo_line_to(context(), point.x, point.y);
  cairo_stroke(context());
}

void PlotCanvas::frame(const Panel& panel, const std::string& caption) {
  setColour(kInk);
  cairo_set_line_width(context(), 1.0);
  cairo_rectangle(context(), panel.x, panel.y, panel.width, panel.height);
  cairo_stroke(context());
  text(panel.x, panel.y - 6.0, caption, 13.0);
}

void PlotCanvas::writePng(const std::string& path) {
  cairo_surface_flush(surface.get());
  if (cairo_status(context()) != CAIRO_STATUS_SUCCESS) {
    throw RenderError("cannot draw " + path + ": " + cairo_status_to_string(cairo_status(context())));
  }
  StagedOutputFile staged(path);
  const cairo_status_t status = cairo_surface_write_to_png(surface.get(), staged.stagingPath().c_str());
  if (status != CAIRO_STATUS_SUCCESS)
    throw RenderError("cannot write " + path + ": " + cairo_status_to_string(status));
  staged.commit();
}

std::string plotNumberText(const char* format, double value) {
  char text[256];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

double plotTickStep(double span, int count) {
  const double rough = span / count;
  const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * magnitude >= rough) return factor * magnitude;
  }
  return 10.0 * magnitude;
}
