// One instance of the LV2 UI: the plug-in's editor embedded in the host's
// X11 window, talking to the plug-in only through ports.
#pragma once

#include <lv2/ui/ui.h>

#include <memory>
#include <string>
#include <vector>

class Lv2UiPortEffect;
class VelkoranEditor;

// Owns the port effect, which owns the editor. Every operation runs on the
// host's UI thread.
class Lv2EditorUi {
 public:
  // Lists the sounds of the archive in the bundle directory for the menu.
  // features must hold ui:parent; ui:resize and ui:touch are used when given.
  Lv2EditorUi(const char* bundlePath, LV2UI_Write_Function write, LV2UI_Controller controller,
              const LV2_Feature* const* features);
  // Closes the editor and lets it go.
  ~Lv2EditorUi();
  Lv2EditorUi(const Lv2EditorUi&) = delete;
  Lv2EditorUi& operator=(const Lv2EditorUi&) = delete;

  // Opens the editor in the host's window and announces its size; the
  // editor's own window, or nullptr without ui:parent or an X server.
  LV2UI_Widget open();

  // A port's value from the host (port_event); only float values of the four
  // control ports are taken.
  void portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer);
  // ui:idleInterface: the editor delivers its window's events and shows the
  // values the host sent since the last idle; 0 (keep running).
  int idle();

 private:
  static std::vector<std::string> listSounds(const char* bundlePath);

  std::vector<std::string> soundNames;
  void* parentWindow = nullptr;
  const LV2UI_Resize* resize = nullptr;
  std::unique_ptr<Lv2UiPortEffect> effect;
  VelkoranEditor* editor;  // owned by the effect
};
