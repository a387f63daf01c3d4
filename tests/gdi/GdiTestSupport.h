// Frames drawn with GDI into memory, which needs no display, for the GDI
// backend's tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

#include "gui/CFrame.h"
#include "gui/win32/GdiDrawContext.h"
#include "gui/win32/GdiOffscreenContext.h"

// A frame window whose screen is an offscreen buffer; without a mouse.
class MemoryFrameWindow : public FrameWindow {
 public:
  MemoryFrameWindow(std::int32_t width, std::int32_t height)
      : screen(GdiOffscreenContext::create(width, height)) {}

  std::unique_ptr<CDrawContext> createDrawContext() override {
    return std::make_unique<GdiDrawContext>(screen->getDc(), screen->getWidth(), screen->getHeight());
  }
  std::unique_ptr<CDrawContext> createOffscreen(std::int32_t width, std::int32_t height) override {
    return GdiOffscreenContext::create(width, height);
  }
  std::int32_t getButtons() override { return 0; }
  CPoint getMousePosition() override { return {-1, -1}; }
  CPoint getScreenOrigin() override { return {}; }
  std::int32_t trackPopup(const PopupMenuRequest&) override { return -1; }
  void deliverPendingEvents() override {}

  std::uint32_t pixel(std::int32_t x, std::int32_t y) const { return screen->pixel(x, y); }

 private:
  std::unique_ptr<GdiOffscreenContext> screen;
};

// A frame of that size on a MemoryFrameWindow, without an editor.
class MemoryFrame {
 public:
  MemoryFrame(std::int32_t width, std::int32_t height) {
    auto memory = std::make_unique<MemoryFrameWindow>(width, height);
    window = memory.get();
    frame = new CFrame({0, 0, width, height}, std::move(memory), nullptr);
  }
  ~MemoryFrame() { frame->forget(); }
  MemoryFrame(const MemoryFrame&) = delete;
  MemoryFrame& operator=(const MemoryFrame&) = delete;

  MemoryFrameWindow* window;
  CFrame* frame;
};

// Windows under wine need an X display. Where one is set (the Windows test
// script runs wine on a virtual X server) a window test that cannot make or
// read its window fails; without one it is skipped.
#define REQUIRE_WINDOWS(condition, reason)                                      \
  do {                                                                          \
    if (condition) break;                                                       \
    if (std::getenv("DISPLAY")) FAIL() << reason << " although DISPLAY is set"; \
    GTEST_SKIP() << reason;                                                     \
  } while (false)
