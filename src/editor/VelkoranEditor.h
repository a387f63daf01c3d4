// The plug-in's editor window: the skin, three sliders, the preset menu, the
// value display and the version label.
#pragma once

#include <string>
#include <vector>

#include "editor/ParameterMailbox.h"
#include "frame/AEffGUIEditor.h"
#include "gui/CControlListener.h"

class AudioEffectX;
class CBitmap;
class CFrame;
class COptionMenu;
class CVerticalSlider;
class CView;
class CZrTextLabel;

// Reports every control change to the effect as an edit (beginEdit,
// setParameterAutomated, endEdit), shows the value under edit meanwhile, and
// follows the values set from outside on its next idle. Every operation runs
// on the host's GUI thread, but for setParameter.
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
  // GUI thread: the frame delivers its window's pending events (on Windows
  // the host's message loop does that), then the controls take the values
  // set from outside since the last idle and are redrawn. A control under
  // edit keeps its value until the edit ends.
  void idle() override;
  // Any thread (the host's audio thread for automation): a value set from
  // outside, shown on the next idle. Draws nothing, takes no lock and
  // allocates nothing.
  void setParameter(VstInt32 index, float value) override;
  // GUI thread, from the frame: an edit of a control begins or ends. Shows
  // the value display (and blanks its digits at the end) and tells the
  // effect, which tells the host.
  void beginEdit(VstInt32 index) override;
  void endEdit(VstInt32 index) override;

  // GUI thread: a control's value changed: reports the parameter of its tag
  // through the effect's setParameterAutomated, updates the value display
  // and redraws at once.
  void controlChanged(CDrawContext* context, CControl* control) override;
  // GUI thread, at the start (true) and end (false) of an edit: shows the
  // value of the current view, or blanks the digits.
  void showValueDisplay(bool show);

  CFrame* getToolkitFrame() const;

 private:
  void createSliders(CBitmap* background, CBitmap* handle);
  void createPresetMenu();
  void createLabels();
  void showText(const char* text);
  void redrawIfAttached(CView* view);
  void redrawPresetArea();
  void takePostedValues();
  void showSliderValue(CVerticalSlider* slider, float value);
  void showPresetValue(float value);
  CVerticalSlider* sliderOf(VstInt32 tag) const;

  const std::vector<std::string>* descriptionNames;
  ParameterMailbox postedValues;
  // The tag of the control under edit, -1 for none.
  VstInt32 editedTag = -1;
  CVerticalSlider* bassSlider = nullptr;
  CVerticalSlider* preGainSlider = nullptr;
  CVerticalSlider* postGainSlider = nullptr;
  COptionMenu* presetMenu = nullptr;
  CZrTextLabel* valueDisplay = nullptr;
  CZrTextLabel* versionLabel = nullptr;
};
