#include "gui/CView.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

CView::CView(const CRect& size) : viewSize(size), mouseableArea(size) {}

CView::~CView() {
  if (background) background->forget();
}

void CView::draw(CDrawContext* context) {
  if (background && context) {
    if (transparent)
      context->drawBitmapKeyed(*background, viewSize, backOffset);
    else
      context->drawBitmap(*background, viewSize, backOffset);
  }
  setDirty(false);
}

void CView::mouse(CDrawContext*, CPoint&, std::int32_t) {}

bool CView::onWheel(CDrawContext*, const CPoint&, float) { return false; }

std::int32_t CView::onKeyDown(VstKeyCode&) { return -1; }

std::int32_t CView::onKeyUp(VstKeyCode&) { return -1; }

void CView::attached(CFrame* frame) { parentFrame = frame; }

void CView::removed() { parentFrame = nullptr; }

void CView::setBackground(CBitmap* bitmap) {
  if (bitmap) bitmap->remember();
  if (background) background->forget();
  background = bitmap;
}
