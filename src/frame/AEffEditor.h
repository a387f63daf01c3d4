// The editor interface that the effect base's dispatcher talks to.
#pragma once

#include "frame/VstInterface.h"

class AudioEffect;

// Base of every editor. The effect owns its editor for its whole life;
// effEditOpen and effEditClose only attach it to and detach it from the
// host's window. Every operation runs on the host's GUI thread.
class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
  virtual ~AEffEditor() = default;

  // The owning effect.
  virtual AudioEffect* getEffect() { return effect; }
  // Points *rect at the editor rectangle; the base has none and answers false.
  virtual bool getRect(ERect** rect) {
    *rect = nullptr;
    return false;
  }
  // Attaches the editor to the host's window (an HWND on Windows, an X11
  // window id on Linux).
  virtual bool open(void* ptr) {
    systemWindow = ptr;
    return false;
  }
  // Detaches the editor from the host's window.
  virtual void close() { systemWindow = nullptr; }
  virtual bool isOpen() { return systemWindow != nullptr; }
  // Periodic GUI work, driven by the host's effEditIdle.
  virtual void idle() {}
  // Keys and the wheel from the host; true when the editor used them.
  virtual bool onKeyDown(VstKeyCode& keyCode) {
    (void)keyCode;
    return false;
  }
  virtual bool onKeyUp(VstKeyCode& keyCode) {
    (void)keyCode;
    return false;
  }
  virtual bool onWheel(float distance) {
    (void)distance;
    return false;
  }
  virtual bool setKnobMode(VstInt32 mode) {
    (void)mode;
    return false;
  }

 protected:
  AudioEffect* effect;
  void* systemWindow = nullptr;
};
