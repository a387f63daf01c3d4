// The frame's child window inside the host's window, drawn with GDI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "gui/CRect.h"
#include "gui/FrameWindow.h"

class CFrame;

// The host's message loop delivers the window's messages: paints, mouse
// presses, the wheel and keys reach the frame from the window procedure,
// and paints also from the editor's idle step while a control runs a loop.
class GdiFrameWindow final : public FrameWindow {
 public:
  // nullptr when the parent is not a window or the child window cannot be
  // made (no display).
  static std::unique_ptr<FrameWindow> create(CFrame& frame, void* parentWindow, const CRect& size);
  GdiFrameWindow(CFrame& frame, const CRect& size);
  ~GdiFrameWindow() override;

  std::unique_ptr<CDrawContext> createDrawContext() override;
  std::unique_ptr<CDrawContext> createOffscreen(std::int32_t width, std::int32_t height) override;
  std::int32_t getButtons() override;
  CPoint getMousePosition() override;
  CPoint getScreenOrigin() override;
  std::int32_t trackPopup(const PopupMenuRequest& request) override;
  void deliverPendingEvents() override {}

  HWND getWindow() const { return window; }

 private:
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool openIn(HWND parent);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool backgroundCoversWindow() const;
  void paint();
  // The window (and the frame) may be gone when this returns.
  void mousePress(LPARAM position, std::int32_t pressedButton);
  bool wheel(WPARAM wParam, LPARAM screenPosition);
  bool key(WPARAM virtualKey, bool down);

  CFrame& frame;
  HWND window = nullptr;
  std::int32_t width;
  std::int32_t height;
};
