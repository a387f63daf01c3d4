#include "lv2/ui/Lv2UiPortEffect.h"

#include "frame/AEffGUIEditor.h"

Lv2UiPortEffect::Lv2UiPortEffect(LV2UI_Write_Function write, LV2UI_Controller controller,
                                 const LV2UI_Touch* touch)
    : AudioEffectX(nullptr, 1, kPorts), write(write), controller(controller), touch(touch) {}

void Lv2UiPortEffect::processReplacing(float**, float**, VstInt32) {}

void Lv2UiPortEffect::setParameter(VstInt32 index, float value) {
  if (!isPort(index)) return;
  values[index] = value;
  if (editor) static_cast<AEffGUIEditor*>(editor)->setParameter(index, value);
}

float Lv2UiPortEffect::getParameter(VstInt32 index) { return isPort(index) ? values[index] : 0.0f; }

// The host echoes the value back through port_event, as for any writer of
// the port; the editor already shows it.
void Lv2UiPortEffect::setParameterAutomated(VstInt32 index, float value) {
  if (!isPort(index)) return;
  values[index] = value;
  write(controller, static_cast<uint32_t>(index), sizeof value, 0, &value);
}

bool Lv2UiPortEffect::beginEdit(VstInt32 index) { return touchPort(index, true); }

bool Lv2UiPortEffect::endEdit(VstInt32 index) { return touchPort(index, false); }

bool Lv2UiPortEffect::touchPort(VstInt32 index, bool grabbed) {
  if (!isPort(index) || !touch) return false;
  touch->touch(touch->handle, static_cast<uint32_t>(index), grabbed);
  return true;
}
