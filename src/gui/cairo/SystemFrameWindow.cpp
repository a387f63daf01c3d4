// The frame window of Linux and other X11 systems: a child window of the
// host's X11 window, or a headless image when there is no host window or no
// X server to reach.
#include <memory>

#include "gui/FrameWindowFactory.h"
#include "gui/cairo/ImageFrameWindow.h"
#include "gui/cairo/X11FrameWindow.h"

std::unique_ptr<FrameWindow> createSystemFrameWindow(CFrame& frame, void* parentWindow, const CRect& size) {
  if (parentWindow) {
    if (std::unique_ptr<FrameWindow> window = X11FrameWindow::create(frame, parentWindow, size))
      return window;
  }
  return std::make_unique<ImageFrameWindow>(size.width(), size.height());
}
