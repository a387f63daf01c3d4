// What the GUI editor base needs of the toolkit frame it holds while open.
#pragma once

#include "frame/VstInterface.h"

// The toolkit's CFrame implements this, so that the effect base does not
// depend on the toolkit. Every operation runs on the host's GUI thread.
class EditorFrame {
 public:
  // Destroying the frame releases its views (the frame is reference counted;
  // release() drops the holder's reference).
  virtual void release() = 0;
  // Periodic work of the frame: delivers its window's pending events where
  // the window system does not do so itself.
  virtual void idle() = 0;
  // Keys for the frame's views: 1 when a view used the key, -1 otherwise.
  virtual VstInt32 onKeyDown(VstKeyCode& keyCode) = 0;
  virtual VstInt32 onKeyUp(VstKeyCode& keyCode) = 0;
  // A wheel turn of the given distance at the mouse position in the frame's
  // window; true when a view used it.
  virtual bool onWheelAtMouse(float distance) = 0;

 protected:
  ~EditorFrame() = default;
};
