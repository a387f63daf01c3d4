// A headless frame window: the frame draws into an image in memory, which
// can be read back or written as PNG.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>

#include "gui/CRect.h"
#include "gui/FrameWindow.h"

// Without a mouse: no buttons are pressed, the cursor is outside the window
// and popups close without a choice. Tests derive from it to script input.
class ImageFrameWindow : public FrameWindow {
 public:
  ImageFrameWindow(std::int32_t width, std::int32_t height);
  ~ImageFrameWindow() override;

  std::unique_ptr<CDrawContext> createDrawContext() override;
  std::unique_ptr<CDrawContext> createOffscreen(std::int32_t width, std::int32_t height) override;
  std::int32_t getButtons() override { return 0; }
  CPoint getMousePosition() override { return {-1, -1}; }
  CPoint getScreenOrigin() override { return {}; }
  std::int32_t trackPopup(const PopupMenuRequest&) override { return -1; }
  void deliverPendingEvents() override {}

  std::int32_t getWidth() const { return width; }
  std::int32_t getHeight() const { return height; }
  // The pixel as 0xRRGGBB (0 outside the image).
  std::uint32_t pixel(std::int32_t x, std::int32_t y) const;
  // Writes the part of the image within area as a PNG file; false when it
  // could not be written.
  bool writePng(const std::string& path, const CRect& area) const;

 private:
  std::int32_t width;
  std::int32_t height;
  cairo_surface_t* surface;
};
