// The window system side of a frame: its window, the state of the mouse and
// the modifier keys, and the popup menu. Backends implement it; tests script
// it.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/CDrawContext.h"
#include "gui/CPoint.h"
#include "gui/PopupMenuRequest.h"

// GUI thread only. The frame owns its window.
class FrameWindow {
 public:
  virtual ~FrameWindow() = default;

  // A draw context on the whole window, in frame coordinates; what it drew
  // is shown when it is destroyed.
  virtual std::unique_ptr<CDrawContext> createDrawContext() = 0;
  // An offscreen buffer of that size, in its own coordinates, that a draw
  // context of this window can copy from.
  virtual std::unique_ptr<CDrawContext> createOffscreen(std::int32_t width, std::int32_t height) = 0;

  // Mouse buttons and modifiers now (CButtonState bits).
  virtual std::int32_t getButtons() = 0;
  // The cursor position now, in frame coordinates.
  virtual CPoint getMousePosition() = 0;
  // The screen position of the window's top-left corner.
  virtual CPoint getScreenOrigin() = 0;

  // Shows the popup and waits until it closes: the chosen item's index, or
  // -1 when it was dismissed.
  virtual std::int32_t trackPopup(const PopupMenuRequest& request) = 0;

  // Delivers the window's pending events to the frame where the window
  // system does not do so itself.
  virtual void deliverPendingEvents() = 0;

  // The window system's handle of the window (an X11 window id), for hosts
  // that embed it; nullptr for a window of no window system (headless).
  virtual void* systemWindow() const { return nullptr; }
};
