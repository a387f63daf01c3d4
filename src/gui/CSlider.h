// A slider: a handle bitmap moving over a background bitmap.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/CControl.h"

class CDrawContext;

enum CSliderStyle : std::int32_t {
  kHorizontal = 1,
  kVertical = 2,
  kLeft = 8,     // value 0 at the left end
  kRight = 16,   // value 0 at the right end
  kTop = 32,     // value 0 at the top end
  kBottom = 64,  // value 0 at the bottom end
};

// The handle travels between two absolute positions given at construction.
// While attached to a frame the slider draws into an offscreen buffer of its
// own size and copies it to the screen in one step, so nothing flickers
// while dragging. GUI thread only.
class CSlider : public CControl {
 public:
  CSlider(const CRect& size, CControlListener* listener, std::int32_t tag, std::int32_t minPosition,
          std::int32_t maxPosition, CBitmap* handle, CBitmap* background, CPoint backgroundOffset,
          std::int32_t style);
  ~CSlider() override;

  void draw(CDrawContext* context) override;
  // A press on the handle starts a drag that runs until the primary button
  // is released; Control-click resets to the default value.
  void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  // Arrow keys move the value by the wheel step.
  std::int32_t onKeyDown(VstKeyCode& keyCode) override;

  void attached(CFrame* frame) override;
  void removed() override;

  // Where the handle is drawn relative to its place on the travel.
  void setOffsetHandle(CPoint offset);
  CPoint getOffsetHandle() const { return offsetHandle; }
  void setDrawTransparentHandle(bool state) { drawTransparentHandle = state; }
  // With free click a press anywhere moves the handle's centre to the mouse;
  // without it a drag must start on the handle.
  void setFreeClick(bool state) { freeClick = state; }
  void setZoomFactor(float factor) { zoomFactor = factor; }
  std::int32_t getStyle() const { return style; }
  // The minimum and maximum handle positions (control coordinates).
  std::int32_t getMinHandlePosition() const { return minHandlePosition; }
  std::int32_t getMaxHandlePosition() const { return maxHandlePosition; }
  // The handle's rectangle in control coordinates, as drawn.
  CRect handleRect() const;

 private:
  bool isVertical() const { return (style & kVertical) != 0; }
  // The handle's place on the travel: the value, or 1 - value when value 0
  // lies at the right or bottom end.
  float travelPosition() const;
  std::int32_t along(const CPoint& point) const { return isVertical() ? point.y : point.x; }
  std::int32_t controlStart() const { return isVertical() ? viewSize.top : viewSize.left; }
  std::int32_t handleLength() const { return isVertical() ? handleHeight : handleWidth; }
  // The handle's rectangle in frame coordinates, not limited to the travel.
  CRect unlimitedHandleOnScreen() const;
  void drawInto(CDrawContext& target, CPoint origin);
  void resetToDefault(CDrawContext* context);
  void drag(CDrawContext* context, CPoint where, std::int32_t buttons, std::int32_t grab);
  void stepBy(CDrawContext* context, float amount);

  CPoint offsetHandle;
  CBitmap* handle;
  std::int32_t handleWidth = 1;
  std::int32_t handleHeight = 1;
  std::int32_t style;
  std::int32_t controlWidth;
  std::int32_t controlHeight;
  std::int32_t travel;
  std::int32_t minOffset;
  std::int32_t minHandlePosition = 0;
  std::int32_t maxHandlePosition = 0;
  float zoomFactor = 10.0f;
  bool drawTransparentHandle = true;
  bool freeClick = true;
  std::unique_ptr<CDrawContext> offscreen;
};
