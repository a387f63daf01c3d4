// The effect that the editor talks to inside the LV2 UI: it reaches the
// plug-in only through the host's port writes and touch gestures.
#pragma once

#include <lv2/ui/ui.h>

#include "frame/AudioEffectX.h"

// Stands in for the main effect, so the shared editor runs unchanged: an edit
// (beginEdit, setParameterAutomated, endEdit) becomes touch(port, true), a
// float written to the port, touch(port, false); getParameter answers the
// port's last value from the host. The parameter indices are the port
// indices 0 to 3. Every operation runs on the host's UI thread.
class Lv2UiPortEffect : public AudioEffectX {
 public:
  static constexpr VstInt32 kPorts = 4;

  // touch may be null (a host without ui:touch hears no gestures).
  Lv2UiPortEffect(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch);

  // Never called: no audio passes through a UI.
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  // UI thread: the host's value of a port (port_event); the open editor
  // shows it on its next idle.
  void setParameter(VstInt32 index, float value) override;
  // UI thread: the port's last value from the host, else its default.
  float getParameter(VstInt32 index) override;
  // UI thread: an edit from the editor, written to the port.
  void setParameterAutomated(VstInt32 index, float value) override;
  bool beginEdit(VstInt32 index) override;
  bool endEdit(VstInt32 index) override;

 private:
  static bool isPort(VstInt32 index) { return index >= 0 && index < kPorts; }
  bool touchPort(VstInt32 index, bool grabbed);

  LV2UI_Write_Function write;
  LV2UI_Controller controller;
  const LV2UI_Touch* touch;
  // The plug-in's defaults ("Pre gain", "Post gain", "Pre bass" in the
  // middle, the first sound) until the host sends the ports' values.
  float values[kPorts] = {0.5f, 0.5f, 0.5f, 0.0f};
};
