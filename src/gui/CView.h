// A rectangular, reference-counted element of a frame.
#pragma once

#include <cstdint>

#include "frame/VstInterface.h"
#include "gui/CPoint.h"
#include "gui/CRect.h"
#include "gui/CReferenceCounter.h"

class CBitmap;
class CDrawContext;
class CFrame;

// Views use frame coordinates. A view added to a frame belongs to the frame.
// GUI thread only.
class CView : public CReferenceCounter {
 public:
  explicit CView(const CRect& size);
  ~CView() override;

  virtual void draw(CDrawContext* context);
  // A mouse press at where (frame coordinates) with the CButtonState bits.
  virtual void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons);
  // A wheel turn (one notch is 1); true when used.
  virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
  // Keys: 1 when used, -1 otherwise.
  virtual std::int32_t onKeyDown(VstKeyCode& keyCode);
  virtual std::int32_t onKeyUp(VstKeyCode& keyCode);

  virtual void setDirty(bool state = true) { dirty = state; }
  virtual bool isDirty() const { return dirty; }

  // The frame attaches a view when it is added and detaches it when it is
  // removed or the frame goes.
  virtual void attached(CFrame* frame);
  virtual void removed();
  CFrame* getFrame() const { return parentFrame; }
  CView* getParentView() const { return parentView; }

  const CRect& getViewSize() const { return viewSize; }
  const CRect& getMouseableArea() const { return mouseableArea; }
  bool hitTest(const CPoint& where) const { return mouseableArea.pointInside(where); }

  void setMouseEnabled(bool state) { mouseEnabled = state; }
  bool getMouseEnabled() const { return mouseEnabled; }
  // A transparent view paints no background of its own.
  void setTransparency(bool state) { transparent = state; }
  bool getTransparency() const { return transparent; }

  // A reference is held on the background bitmap.
  void setBackground(CBitmap* bitmap);
  CBitmap* getBackground() const { return background; }
  // The point of the background bitmap shown at the view's top-left corner.
  void setBackOffset(CPoint offset) { backOffset = offset; }
  CPoint getBackOffset() const { return backOffset; }

 protected:
  CRect viewSize;
  CRect mouseableArea;
  CFrame* parentFrame = nullptr;
  CView* parentView = nullptr;
  bool dirty = false;
  bool mouseEnabled = true;
  bool transparent = false;
  CBitmap* background = nullptr;
  CPoint backOffset;
};
