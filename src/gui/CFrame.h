// The toolkit frame: the root view, bound to a child window of the host's
// window, that holds the editor's views.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "frame/EditorFrame.h"
#include "gui/CView.h"
#include "gui/FrameWindow.h"

class AEffGUIEditor;

// Draws its background bitmap and then its children in the order added;
// dispatches mouse presses, the wheel and keys to them; brackets the edits
// of controls towards the editor. GUI thread only.
class CFrame : public CView, public EditorFrame {
 public:
  // Creates the frame's window in the host's window through the current
  // FrameWindowFactory (headless when parentWindow is nullptr).
  CFrame(const CRect& size, void* parentWindow, AEffGUIEditor* editor);
  // Uses the given window (tests).
  CFrame(const CRect& size, std::unique_ptr<FrameWindow> window, AEffGUIEditor* editor);
  // Drops the frame's reference to every child.
  ~CFrame() override;

  // The frame takes the caller's reference.
  void addView(CView* view);
  // Drops the frame's reference; false when the view is not a child.
  bool removeView(CView* view);
  const std::vector<CView*>& getChildren() const { return children; }
  bool isChild(const CView* view) const;

  // Background bitmap at the origin, then every child in order.
  void draw(CDrawContext* context) override;
  // Draws a child at once through a new context on the window; any other
  // view (the frame included) redraws the whole frame.
  void redrawView(CView* view);
  // Marks dirty every child whose rectangle touches rect, edges included.
  void markChildrenDirtyIn(const CRect& rect);

  // The modal view if one is set, else the last added child under the mouse.
  CView* getCurrentView();
  void setModalView(CView* view) { modalView = view; }
  CView* getModalView() const { return modalView; }
  void setFocusView(CView* view) { focusView = view; }
  CView* getFocusView() const { return focusView; }

  // Input from the window, in frame coordinates.
  void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  std::int32_t onKeyDown(VstKeyCode& keyCode) override;
  std::int32_t onKeyUp(VstKeyCode& keyCode) override;

  // Towards the editor: the edit bracket of a control and the idle step.
  void beginEdit(std::int32_t tag);
  void endEdit(std::int32_t tag);
  void doIdleStuff();
  AEffGUIEditor* getEditor() const { return editor; }

  // The window's services.
  FrameWindow& getWindow() { return *window; }
  std::int32_t getButtons() { return window->getButtons(); }
  CPoint getMousePosition() { return window->getMousePosition(); }
  std::unique_ptr<CDrawContext> createDrawContext() { return window->createDrawContext(); }

  // EditorFrame, for the GUI editor base.
  void release() override { forget(); }
  void idle() override;
  bool onWheelAtMouse(float distance) override;

 private:
  CView* childAt(const CPoint& where, bool mouseEnabledOnly) const;
  void moveFocus(bool backwards);

  AEffGUIEditor* editor;
  std::unique_ptr<FrameWindow> window;
  std::vector<CView*> children;
  CView* modalView = nullptr;
  CView* focusView = nullptr;
};
