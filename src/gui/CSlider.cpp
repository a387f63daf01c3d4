#include "gui/CSlider.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/MouseButtons.h"

CSlider::CSlider(const CRect& size, CControlListener* listener, std::int32_t tag, std::int32_t minPosition,
                 std::int32_t maxPosition, CBitmap* handle, CBitmap* background, CPoint backgroundOffset,
                 std::int32_t style)
    : CControl(size, listener, tag, background),
      handle(handle),
      style(style),
      controlWidth(size.width()),
      controlHeight(size.height()),
      travel(maxPosition - minPosition) {
  setBackOffset(backgroundOffset);
  if (handle) {
    handle->remember();
    handleWidth = handle->getWidth();
    handleHeight = handle->getHeight();
  }
  minOffset = minPosition - controlStart();
  setOffsetHandle(CPoint{});
}

CSlider::~CSlider() {
  if (handle) handle->forget();
}

void CSlider::setOffsetHandle(CPoint offset) {
  offsetHandle = offset;
  minHandlePosition = (isVertical() ? offset.y : offset.x) + minOffset;
  maxHandlePosition = travel + handleLength() + minHandlePosition;
}

float CSlider::travelPosition() const { return (style & (kLeft | kTop)) ? value : 1.0f - value; }

CRect CSlider::handleRect() const {
  auto moved = static_cast<std::int32_t>(static_cast<float>(travel) * travelPosition());
  std::int32_t start = moved + (isVertical() ? offsetHandle.y : offsetHandle.x);
  if (start < minHandlePosition) start = minHandlePosition;
  std::int32_t end = start + handleLength();
  if (end > maxHandlePosition) end = maxHandlePosition;
  if (isVertical()) return {offsetHandle.x, start, offsetHandle.x + handleWidth, end};
  return {start, offsetHandle.y, end, offsetHandle.y + handleHeight};
}

CRect CSlider::unlimitedHandleOnScreen() const {
  auto moved = static_cast<std::int32_t>(static_cast<float>(travel) * travelPosition());
  if (isVertical()) {
    std::int32_t top = viewSize.top + moved + offsetHandle.y;
    std::int32_t left = viewSize.left + offsetHandle.x;
    return {left, top, left + handleWidth, top + handleHeight};
  }
  std::int32_t left = viewSize.left + moved + offsetHandle.x;
  std::int32_t top = viewSize.top + offsetHandle.y;
  return {left, top, left + handleWidth, top + handleHeight};
}

void CSlider::draw(CDrawContext* context) {
  if (offscreen) {
    drawInto(*offscreen, CPoint{});
    if (context) context->copyFrom(*offscreen, viewSize);
  } else if (context) {
    CRect previousClip = context->getClipRect();
    context->setClipRect(previousClip.intersection(viewSize));
    drawInto(*context, viewSize.topLeft());
    context->setClipRect(previousClip);
  }
  setDirty(false);
}

void CSlider::drawInto(CDrawContext& target, CPoint origin) {
  CRect whole{origin.x, origin.y, origin.x + controlWidth, origin.y + controlHeight};
  if (background) {
    if (transparent)
      target.drawBitmapKeyed(*background, whole, backOffset);
    else
      target.drawBitmap(*background, whole, backOffset);
  }
  if (!handle) return;
  CRect handleArea = handleRect().offsetBy(origin.x, origin.y);
  if (drawTransparentHandle)
    target.drawBitmapKeyed(*handle, handleArea, CPoint{});
  else
    target.drawBitmap(*handle, handleArea, CPoint{});
}

void CSlider::mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) {
  if (!mouseEnabled || listenerTookModifierClick(context, buttons)) return;
  if (buttons == (kLButton | kControl)) {
    resetToDefault(context);
    return;
  }
  if (!(buttons & kLButton) || !parentFrame) return;
  std::int32_t grab;
  if (freeClick) {
    grab = (isVertical() ? offsetHandle.y : offsetHandle.x) + controlStart() + handleLength() / 2 - 1;
  } else {
    CRect onScreen = unlimitedHandleOnScreen();
    if (!onScreen.pointInside(where)) return;
    std::int32_t handleStart = isVertical() ? onScreen.top : onScreen.left;
    grab = (isVertical() ? offsetHandle.y : offsetHandle.x) + controlStart() + (along(where) - handleStart);
  }
  drag(context, where, buttons, grab);
}

void CSlider::resetToDefault(CDrawContext* context) {
  beginEdit();
  value = defaultValue;
  if (isDirty()) notifyChanged(context);
  endEdit();
}

void CSlider::drag(CDrawContext* context, CPoint where, std::int32_t buttons, std::int32_t grab) {
  // The idle step may let the host close the editor, which detaches this
  // slider from its frame; the extra reference keeps it alive until the loop
  // has noticed.
  remember();
  float anchor = value;
  std::int32_t lastButtons = buttons;
  beginEdit();
  while (parentFrame) {
    std::int32_t now = parentFrame->getButtons();
    if (!(now & kLButton)) break;
    bool fine = (now & kShift) != 0;
    if (now != lastButtons && fine) {
      lastButtons = now;
      anchor = value;
    } else if (!fine) {
      anchor = value;
    }
    float raw = static_cast<float>(along(where) - grab) / static_cast<float>(travel);
    value = (style & (kRight | kBottom)) ? 1.0f - raw : raw;
    if (fine) value = anchor + (value - anchor) / zoomFactor;
    bounceValue();
    if (isDirty()) notifyChanged(context);
    where = parentFrame->getMousePosition();
    parentFrame->doIdleStuff();
  }
  endEdit();
  forget();
}

bool CSlider::onWheel(CDrawContext* context, const CPoint&, float distance) {
  if (!mouseEnabled) return false;
  bool fine = parentFrame && (parentFrame->getButtons() & kShift);
  stepBy(context, fine ? wheelInc * distance * 0.1f : wheelInc * distance);
  return true;
}

std::int32_t CSlider::onKeyDown(VstKeyCode& keyCode) {
  float direction;
  switch (keyCode.virt) {
    case VKEY_LEFT:
    case VKEY_DOWN:
      direction = -1.0f;
      break;
    case VKEY_UP:
    case VKEY_RIGHT:
      direction = 1.0f;
      break;
    default:
      return -1;
  }
  bool fine = (keyCode.modifier & MODIFIER_SHIFT) != 0;
  stepBy(nullptr, fine ? wheelInc * direction * 0.1f : wheelInc * direction);
  return 1;
}

void CSlider::stepBy(CDrawContext* context, float amount) {
  value += amount;
  bounceValue();
  if (!isDirty()) return;
  beginEdit();
  notifyChanged(context);
  endEdit();
}

void CSlider::attached(CFrame* frame) {
  CControl::attached(frame);
  offscreen = frame->getWindow().createOffscreen(controlWidth, controlHeight);
}

void CSlider::removed() {
  offscreen.reset();
  CControl::removed();
}
