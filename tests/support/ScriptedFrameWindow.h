// A headless frame window whose mouse, modifier keys and popup choice the
// test scripts.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "gui/FrameWindowFactory.h"
#include "gui/cairo/ImageFrameWindow.h"

// One poll of the input: the buttons reported and the cursor position.
struct InputStep {
  std::int32_t buttons;
  CPoint mouse;
};

// Each getButtons() takes the next scripted step (the last one stays once
// the script is used up); getMousePosition() reports that step's cursor.
class ScriptedFrameWindow : public ImageFrameWindow {
 public:
  ScriptedFrameWindow(std::int32_t width, std::int32_t height) : ImageFrameWindow(width, height) {}

  std::int32_t getButtons() override {
    ++buttonPolls;
    if (!script.empty()) {
      current = script.front();
      script.pop_front();
    }
    return current.buttons;
  }
  CPoint getMousePosition() override { return current.mouse; }
  CPoint getScreenOrigin() override { return screenOrigin; }
  std::int32_t trackPopup(const PopupMenuRequest& request) override {
    popupRequests.push_back(request);
    return popupChoice;
  }
  std::unique_ptr<CDrawContext> createDrawContext() override {
    ++drawContexts;
    return ImageFrameWindow::createDrawContext();
  }
  void deliverPendingEvents() override { ++eventDeliveries; }

  // Holds the input steady at this state.
  void hold(std::int32_t buttons, CPoint mouse) {
    script.clear();
    current = {buttons, mouse};
  }
  void then(std::int32_t buttons, CPoint mouse) { script.push_back({buttons, mouse}); }

  std::deque<InputStep> script;
  InputStep current{0, {-1, -1}};
  CPoint screenOrigin{100, 200};
  std::int32_t popupChoice = -1;
  std::vector<PopupMenuRequest> popupRequests;
  int buttonPolls = 0;
  int drawContexts = 0;
  int eventDeliveries = 0;
};

// Installs a factory that gives every new frame a ScriptedFrameWindow, and
// remembers the last one made; restores the system's factory when it goes.
class ScriptedWindowInstaller {
 public:
  ScriptedWindowInstaller() {
    lastWindow() = nullptr;
    setFrameWindowFactory([](CFrame&, void*, const CRect& size) -> std::unique_ptr<FrameWindow> {
      auto window = std::make_unique<ScriptedFrameWindow>(size.width(), size.height());
      lastWindow() = window.get();
      return window;
    });
  }
  ~ScriptedWindowInstaller() { setFrameWindowFactory(nullptr); }
  ScriptedWindowInstaller(const ScriptedWindowInstaller&) = delete;
  ScriptedWindowInstaller& operator=(const ScriptedWindowInstaller&) = delete;

  static ScriptedFrameWindow*& lastWindow() {
    static ScriptedFrameWindow* window = nullptr;
    return window;
  }
};
