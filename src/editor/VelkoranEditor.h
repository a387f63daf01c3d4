// The plug-in's editor window: the skin, three sliders, the preset menu, the
// value display and the version label.
#pragma once

#include <string>
#include <vector>

#include "frame/AEffGUIEditor.h"
#include "gui/CControlListener.h"

class AudioEffectX;
class CBitmap;
class CFrame;
class COptionMenu;
class CVerticalSlider;
class CView;
class CZrTextLabel;

// Forwards every control change to the effect's setParameter and shows the
// value under edit between the effect's beginEdit and endEdit. It does not
// follow parameter changes made by the host while open. Every operation runs
// on the host's GUI thread.
class VelkoranEditor : public AEffGUIEditor, public CControlListener {
 public:
  // descriptionNames: the engine's graph-description names for the preset
  // menu, read at every open; it must outlive the editor.
  VelkoranEditor(AudioEffectX* effect, const std::vector<std::string>* descriptionNames);
  // Tests pass scripted idle services.
  VelkoranEditor(AudioEffectX* effect, const std::vector<std::string>* descriptionNames,
                 IdleServices& services);
  ~VelkoranEditor() override;

  // GUI thread: builds the frame and the controls in the host's window (an
  // X11 window id here; nullptr opens headless) with the current parameter
  // values; true.
  bool open(void* parentWindow) override;
  // GUI thread: destroys the frame and all controls.
  void close() override;
  // GUI thread: nothing is redrawn from idle; the frame only delivers its
  // window's pending events (on Windows the host's message loop does that).
  void idle() override;

  // GUI thread: a control's value changed: sets the parameter of its tag,
  // updates the value display and redraws at once.
  void controlChanged(CDrawContext* context, CControl* control) override;
  // GUI thread, from the effect's beginEdit (true) and endEdit (false):
  // shows the value of the current view, or blanks the digits.
  void showValueDisplay(bool show);

  CFrame* getToolkitFrame() const;

 private:
  void createSliders(CBitmap* background, CBitmap* handle);
  void createPresetMenu();
  void createLabels();
  void showText(const char* text);
  void redrawIfAttached(CView* view);

  const std::vector<std::string>* descriptionNames;
  CVerticalSlider* bassSlider = nullptr;
  CVerticalSlider* preGainSlider = nullptr;
  CVerticalSlider* postGainSlider = nullptr;
  COptionMenu* presetMenu = nullptr;
  CZrTextLabel* valueDisplay = nullptr;
  CZrTextLabel* versionLabel = nullptr;
};
