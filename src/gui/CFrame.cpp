#include "gui/CFrame.h"

#include <algorithm>

#include "frame/AEffGUIEditor.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/FrameWindowFactory.h"

CFrame::CFrame(const CRect& size, void* parentWindow, AEffGUIEditor* editor) : CView(size), editor(editor) {
  window = getFrameWindowFactory()(*this, parentWindow, size);
}

CFrame::CFrame(const CRect& size, std::unique_ptr<FrameWindow> window, AEffGUIEditor* editor)
    : CView(size), editor(editor), window(std::move(window)) {}

CFrame::~CFrame() {
  modalView = nullptr;
  focusView = nullptr;
  std::vector<CView*> released;
  released.swap(children);
  for (CView* child : released) {
    child->removed();
    child->forget();
  }
  window.reset();
}

void CFrame::addView(CView* view) {
  children.push_back(view);
  view->attached(this);
}

bool CFrame::removeView(CView* view) {
  auto found = std::find(children.begin(), children.end(), view);
  if (found == children.end()) return false;
  children.erase(found);
  if (focusView == view) focusView = nullptr;
  if (modalView == view) modalView = nullptr;
  view->removed();
  view->forget();
  return true;
}

bool CFrame::isChild(const CView* view) const {
  return std::find(children.begin(), children.end(), view) != children.end();
}

void CFrame::draw(CDrawContext* context) {
  if (!context) return;
  if (background) context->drawBitmap(*background, viewSize, CPoint{});
  for (CView* child : children) child->draw(context);
  setDirty(false);
}

void CFrame::redrawView(CView* view) {
  std::unique_ptr<CDrawContext> context = createDrawContext();
  if (!context) return;
  if (view && view != this && isChild(view))
    view->draw(context.get());
  else
    draw(context.get());
}

void CFrame::markChildrenDirtyIn(const CRect& rect) {
  for (CView* child : children) {
    if (child->getViewSize().touches(rect)) child->setDirty(true);
  }
}

CView* CFrame::getCurrentView() {
  if (modalView) return modalView;
  return childAt(getMousePosition(), false);
}

CView* CFrame::childAt(const CPoint& where, bool mouseEnabledOnly) const {
  for (auto child = children.rbegin(); child != children.rend(); ++child) {
    if (mouseEnabledOnly && !(*child)->getMouseEnabled()) continue;
    if ((*child)->hitTest(where)) return *child;
  }
  return nullptr;
}

void CFrame::mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) {
  focusView = nullptr;
  if (modalView) {
    if (modalView->hitTest(where)) modalView->mouse(context, where, buttons);
    return;
  }
  if (CView* target = childAt(where, true)) target->mouse(context, where, buttons);
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  CView* target = modalView ? modalView : childAt(where, false);
  return target && target->onWheel(context, where, distance);
}

bool CFrame::onWheelAtMouse(float distance) {
  std::unique_ptr<CDrawContext> context = createDrawContext();
  return onWheel(context.get(), getMousePosition(), distance);
}

std::int32_t CFrame::onKeyDown(VstKeyCode& keyCode) {
  if (focusView && focusView->onKeyDown(keyCode) == 1) return 1;
  if (modalView && modalView->onKeyDown(keyCode) == 1) return 1;
  if (keyCode.virt != VKEY_TAB || children.empty()) return -1;
  moveFocus((keyCode.modifier & MODIFIER_SHIFT) != 0);
  return 1;
}

std::int32_t CFrame::onKeyUp(VstKeyCode& keyCode) {
  if (focusView && focusView->onKeyUp(keyCode) == 1) return 1;
  if (modalView && modalView->onKeyUp(keyCode) == 1) return 1;
  return -1;
}

void CFrame::moveFocus(bool backwards) {
  auto count = static_cast<std::ptrdiff_t>(children.size());
  auto found = std::find(children.begin(), children.end(), focusView);
  std::ptrdiff_t index = found - children.begin();
  if (found == children.end())
    index = backwards ? count - 1 : 0;
  else
    index = (index + (backwards ? count - 1 : 1)) % count;
  focusView = children[static_cast<std::size_t>(index)];
}

void CFrame::beginEdit(std::int32_t tag) {
  if (editor) editor->beginEdit(tag);
}

void CFrame::endEdit(std::int32_t tag) {
  if (editor) editor->endEdit(tag);
}

void CFrame::doIdleStuff() {
  if (editor) editor->doIdleStuff();
}

void CFrame::idle() { window->deliverPendingEvents(); }
