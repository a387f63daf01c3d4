// Frames on scripted headless windows and recording listeners for the
// toolkit's tests.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "gui/CControl.h"
#include "gui/CControlListener.h"
#include "gui/CFrame.h"
#include "support/ScriptedFrameWindow.h"

// A frame of the given size on a ScriptedFrameWindow, without an editor.
class ScriptedFrame {
 public:
  ScriptedFrame(std::int32_t width, std::int32_t height) {
    auto scripted = std::make_unique<ScriptedFrameWindow>(width, height);
    window = scripted.get();
    frame = new CFrame({0, 0, width, height}, std::move(scripted), nullptr);
  }
  ~ScriptedFrame() { frame->forget(); }
  ScriptedFrame(const ScriptedFrame&) = delete;
  ScriptedFrame& operator=(const ScriptedFrame&) = delete;

  // Draws the view through a context on the window, as a redraw does.
  void draw(CView* view) { frame->redrawView(view); }

  ScriptedFrameWindow* window;
  CFrame* frame;
};

// Records each change with the value at that moment and, as the editor does
// by redrawing at once, marks the control clean.
class RecordingListener : public CControlListener {
 public:
  void controlChanged(CDrawContext*, CControl* control) override {
    values.push_back(control->getValue());
    control->setDirty(false);
  }
  std::int32_t modifierClicked(CDrawContext*, CControl*, std::int32_t buttons) override {
    modifierClicks.push_back(buttons);
    return modifierAnswer;
  }

  std::vector<float> values;
  std::vector<std::int32_t> modifierClicks;
  std::int32_t modifierAnswer = 0;
};
