#include "frame/AEffGUIEditor.h"

#include "frame/AudioEffectX.h"
#include "frame/EditorFrame.h"
#include "frame/IdleServices.h"
#include "platform/OleSession.h"

AEffGUIEditor::AEffGUIEditor(AudioEffectX* effect) : AEffGUIEditor(effect, IdleServices::system()) {}

AEffGUIEditor::AEffGUIEditor(AudioEffectX* effect, IdleServices& services)
    : AEffEditor(effect), services(services), nextIdleTime(services.tickCount()) {
  effect->getAeffect()->flags |= effFlagsHasEditor;
  effect->setEditor(this);
  platform::oleInitialize();
}

AEffGUIEditor::~AEffGUIEditor() { platform::oleUninitialize(); }

bool AEffGUIEditor::getRect(ERect** rect) {
  *rect = &rectangle;
  return true;
}

void AEffGUIEditor::idle() {
  if (frame && !insideIdle) frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) { return frame && frame->onKeyDown(keyCode) == 1; }

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) { return frame && frame->onKeyUp(keyCode) == 1; }

bool AEffGUIEditor::onWheel(float distance) { return frame && frame->onWheelAtMouse(distance); }

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
  knobMode = mode;
  return true;
}

void AEffGUIEditor::setParameter(VstInt32, float) {}

void AEffGUIEditor::beginEdit(VstInt32 index) { effectX()->beginEdit(index); }

void AEffGUIEditor::endEdit(VstInt32 index) { effectX()->endEdit(index); }

void AEffGUIEditor::doIdleStuff() {
  std::uint32_t now = services.tickCount();
  if (isBefore(now, nextIdleTime)) {
    services.sleepMilliseconds(idleWait);
    now += idleWait;
    if (isBefore(now, nextIdleTime - idleSlack)) return;
  }
  idle();
  services.dispatchPendingPaint();
  nextIdleTime = now + idlePeriod;
  insideIdle = true;
  effect->masterIdle();
  insideIdle = false;
}

AudioEffectX* AEffGUIEditor::effectX() const { return static_cast<AudioEffectX*>(effect); }
