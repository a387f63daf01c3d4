#include "gui/cairo/ImageFrameWindow.h"

#include "gui/cairo/CairoDrawContext.h"

namespace {

std::unique_ptr<CDrawContext> imageContext(std::int32_t width, std::int32_t height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  auto context = std::make_unique<CairoDrawContext>(surface, width, height);
  cairo_surface_destroy(surface);
  return context;
}

}  // namespace

ImageFrameWindow::ImageFrameWindow(std::int32_t width, std::int32_t height)
    : width(width), height(height), surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)) {}

ImageFrameWindow::~ImageFrameWindow() { cairo_surface_destroy(surface); }

std::unique_ptr<CDrawContext> ImageFrameWindow::createDrawContext() {
  return std::make_unique<CairoDrawContext>(surface, width, height);
}

std::unique_ptr<CDrawContext> ImageFrameWindow::createOffscreen(std::int32_t offscreenWidth,
                                                                std::int32_t offscreenHeight) {
  return imageContext(offscreenWidth, offscreenHeight);
}

std::uint32_t ImageFrameWindow::pixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  cairo_surface_flush(surface);
  const unsigned char* row =
      cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
}

bool ImageFrameWindow::writePng(const std::string& path, const CRect& area) const {
  CRect part = area.intersection({0, 0, width, height});
  if (part.width() <= 0 || part.height() <= 0) return false;
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_RGB24, part.width(), part.height());
  cairo_t* cairo = cairo_create(copy);
  cairo_set_source_surface(cairo, surface, -part.left, -part.top);
  cairo_paint(cairo);
  cairo_destroy(cairo);
  bool written = cairo_surface_write_to_png(copy, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(copy);
  return written;
}
