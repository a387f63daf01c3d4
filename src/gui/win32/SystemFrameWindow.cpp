// The frame window on Windows until its GDI backend exists: the editor's
// views are built and answer the host's key and wheel calls, but nothing is
// drawn and no window messages arrive.
#include <memory>

#include "gui/FrameWindowFactory.h"

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

std::unique_ptr<FrameWindow> createSystemFrameWindow(CFrame&, void*, const CRect&) {
  return std::make_unique<WindowlessFrameWindow>();
}
