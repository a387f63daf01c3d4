// The frame window on Windows: a GDI child window of the host's window, or,
// without a host window or a display, a windowless stand-in: the editor's
// views are built and answer the host's key and wheel calls, but nothing is
// drawn and no window messages arrive.
#include <memory>

#include "gui/FrameWindowFactory.h"
#include "gui/win32/GdiFrameWindow.h"

namespace {

class WindowlessFrameWindow final : public FrameWindow {
 public:
  std::unique_ptr<CDrawContext> createDrawContext() override { return nullptr; }
  std::unique_ptr<CDrawContext> createOffscreen(std::int32_t, std::int32_t) override { return nullptr; }
  std::int32_t getButtons() override { return 0; }
  CPoint getMousePosition() override { return {-1, -1}; }
  CPoint getScreenOrigin() override { return {}; }
  std::int32_t trackPopup(const PopupMenuRequest&) override { return -1; }
  void deliverPendingEvents() override {}
};

}  // namespace

std::unique_ptr<FrameWindow> createSystemFrameWindow(CFrame& frame, void* parentWindow, const CRect& size) {
  if (std::unique_ptr<FrameWindow> window = GdiFrameWindow::create(frame, parentWindow, size)) return window;
  return std::make_unique<WindowlessFrameWindow>();
}
