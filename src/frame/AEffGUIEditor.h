// The GUI editor base on which the plug-in's editor is built.
#pragma once

#include <cstdint>

#include "frame/AEffEditor.h"

class AudioEffectX;
class EditorFrame;
class IdleServices;

// Owns the toolkit frame while open, reports the editor rectangle, passes
// keys and the wheel to the frame, and paces idle work: the toolkit calls
// doIdleStuff while a control keeps the GUI thread busy (a slider drag), so
// that paint requests and the host's idle are still served. Every operation
// runs on the host's GUI thread but setParameter; none is real-time.
class AEffGUIEditor : public AEffEditor {
 public:
  // Marks the effect as having an editor and becomes the effect's editor (the
  // effect deletes it). Uses the system's clock, sleep and paint pump.
  explicit AEffGUIEditor(AudioEffectX* effect);
  // Tests pass scripted services; they must outlive the editor.
  AEffGUIEditor(AudioEffectX* effect, IdleServices& services);
  ~AEffGUIEditor() override;

  // GUI thread: points *rect at the editor rectangle; true.
  bool getRect(ERect** rect) override;
  // GUI thread: lets the frame idle, unless the host's idle is running from
  // the idle step.
  void idle() override;
  // GUI thread: keys and the wheel for the frame; false without a frame.
  bool onKeyDown(VstKeyCode& keyCode) override;
  bool onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(float distance) override;
  // GUI thread: stores the toolkit-wide knob mode; true.
  bool setKnobMode(VstInt32 mode) override;

  // Any thread, the audio thread included (the one exception to the GUI
  // thread here): the effect's parameter was set from outside. An editor
  // must not draw, lock or allocate in it; the base does nothing.
  virtual void setParameter(VstInt32 index, float value);
  // GUI thread: the frame brackets a control's edit with these; they reach
  // the effect's beginEdit and endEdit.
  virtual void beginEdit(VstInt32 index);
  virtual void endEdit(VstInt32 index);
  // GUI thread: the idle step, called by the toolkit while it keeps the
  // thread busy. At most one pass every 100 ms, served up to 50 ms early
  // after a 4 ms wait.
  virtual void doIdleStuff();

  // The knob mode last set through setKnobMode, for the toolkit.
  static VstInt32 getKnobMode() { return knobMode; }
  EditorFrame* getFrame() const { return frame; }

 protected:
  ERect rectangle{};
  EditorFrame* frame = nullptr;

 private:
  static constexpr std::uint32_t idlePeriod = 100;
  static constexpr std::uint32_t idleSlack = 50;
  static constexpr std::uint32_t idleWait = 4;

  // True when tick a comes before tick b, across the 2^32 wrap.
  static bool isBefore(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) < 0; }
  AudioEffectX* effectX() const;

  static inline VstInt32 knobMode = 0;
  IdleServices& services;
  std::uint32_t nextIdleTime;
  bool insideIdle = false;
};
