// The frame's child window inside the host's X11 window.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>

#include "gui/CRect.h"
#include "gui/FrameWindow.h"

class CFrame;

// Has its own connection to the X server. Events are delivered from the
// frame's idle (the host's effEditIdle) and paints also from the editor's
// idle step while a control runs a loop; input events wait in the queue
// while the frame is busy with a mouse press, as the pointer is then polled.
class X11FrameWindow : public FrameWindow {
 public:
  // nullptr when the X server cannot be reached or the parent is not a window.
  static std::unique_ptr<FrameWindow> create(CFrame& frame, void* parentWindow, const CRect& size);
  X11FrameWindow(CFrame& frame, Display* display, Window parent, const CRect& size);
  ~X11FrameWindow() override;

  std::unique_ptr<CDrawContext> createDrawContext() override;
  std::unique_ptr<CDrawContext> createOffscreen(std::int32_t width, std::int32_t height) override;
  std::int32_t getButtons() override;
  CPoint getMousePosition() override;
  CPoint getScreenOrigin() override;
  std::int32_t trackPopup(const PopupMenuRequest& request) override;
  void deliverPendingEvents() override;
  void* systemWindow() const override { return reinterpret_cast<void*>(window); }

  Window getWindow() const { return window; }

 private:
  static bool serveOnePaint(void* context);
  void handleEvent(XEvent& event);
  void handleButtonPress(const XButtonEvent& event);
  void handleKey(XKeyEvent& event, bool down);
  void redrawAll();

  CFrame& frame;
  Display* display;
  Window window = 0;
  Visual* visual = nullptr;
  std::int32_t width;
  std::int32_t height;
  bool busy = false;
};
