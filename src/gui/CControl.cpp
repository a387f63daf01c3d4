#include "gui/CControl.h"

#include "gui/CControlListener.h"
#include "gui/CFrame.h"
#include "gui/MouseButtons.h"

CControl::CControl(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background)
    : CView(size), tag(tag), listener(listener) {
  setBackground(background);
}

void CControl::setDirty(bool state) {
  CView::setDirty(state);
  if (state)
    oldValue = value != -1.0f ? -1.0f : 0.0f;
  else
    oldValue = value;
}

bool CControl::isDirty() const { return dirty || value != oldValue; }

void CControl::beginEdit() {
  if (!parentFrame) return;
  parentFrame->setFocusView(this);
  parentFrame->beginEdit(tag);
}

void CControl::endEdit() {
  if (parentFrame) parentFrame->endEdit(tag);
}

void CControl::bounceValue() {
  if (value > maximum) value = maximum;
  if (value < minimum) value = minimum;
}

void CControl::notifyChanged(CDrawContext* context) {
  if (listener) listener->controlChanged(context, this);
}

bool CControl::listenerTookModifierClick(CDrawContext* context, std::int32_t buttons) {
  return (buttons & kModifierButtons) && listener && listener->modifierClicked(context, this, buttons) != 0;
}
