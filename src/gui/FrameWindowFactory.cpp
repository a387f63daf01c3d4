#include "gui/FrameWindowFactory.h"

namespace {

FrameWindowFactory currentFactory = createSystemFrameWindow;

}  // namespace

FrameWindowFactory setFrameWindowFactory(FrameWindowFactory factory) {
  FrameWindowFactory previous = currentFactory;
  currentFactory = factory ? factory : createSystemFrameWindow;
  return previous;
}

FrameWindowFactory getFrameWindowFactory() { return currentFactory; }
