#include "gui/win32/GdiFrameWindow.h"

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/MouseButtons.h"
#include "gui/win32/GdiDrawContext.h"
#include "gui/win32/GdiKeyTranslation.h"
#include "gui/win32/GdiOffscreenContext.h"
#include "gui/win32/GdiPopupMenu.h"
#include "gui/win32/GdiWindowClass.h"
#include "platform/win32/ModuleInstance.h"

namespace {

constexpr DWORD windowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr float wheelDeltaPerNotch = 120.0f;

// A context on the window's client area, given back when it goes.
class GdiWindowContext final : public GdiDrawContext {
 public:
  GdiWindowContext(HWND window, HDC dc, std::int32_t width, std::int32_t height)
      : GdiDrawContext(dc, width, height), window(window), dc(dc) {}
  ~GdiWindowContext() override {
    finishDrawing();
    ReleaseDC(window, dc);
  }

 private:
  HWND window;
  HDC dc;
};

// Signed client coordinates of a mouse message.
CPoint messagePoint(LPARAM position) {
  return {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
}

bool isPressed(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

}  // namespace

std::unique_ptr<FrameWindow> GdiFrameWindow::create(CFrame& frame, void* parentWindow, const CRect& size) {
  auto parent = static_cast<HWND>(parentWindow);
  if (!parent || !IsWindow(parent)) return nullptr;
  auto window = std::make_unique<GdiFrameWindow>(frame, size);
  if (!window->openIn(parent)) return nullptr;
  return window;
}

GdiFrameWindow::GdiFrameWindow(CFrame& frame, const CRect& size)
    : frame(frame), width(size.width()), height(size.height()) {}

bool GdiFrameWindow::openIn(HWND parent) {
  const char* className = gdiWindowClass::acquire(windowProcedure);
  if (!className) return false;
  window = CreateWindowExA(0, className, "Window", windowStyle, 0, 0, width, height, parent, nullptr,
                           platform::moduleInstance(), this);
  if (window) return true;
  gdiWindowClass::release();
  return false;
}

GdiFrameWindow::~GdiFrameWindow() {
  if (!window) return;
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  gdiWindowClass::release();
}

LRESULT CALLBACK GdiFrameWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* self = reinterpret_cast<GdiFrameWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self || !self->window) return DefWindowProcA(window, message, wParam, lParam);
  return self->handleMessage(message, wParam, lParam);
}

LRESULT GdiFrameWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      // Where the background bitmap covers the window the frame paints
      // every pixel itself, and erasing first would only flicker.
      if (backgroundCoversWindow()) return 1;
      break;
    case WM_LBUTTONDOWN:
      mousePress(lParam, kLButton);
      return 0;
    case WM_MBUTTONDOWN:
      mousePress(lParam, kMButton);
      return 0;
    case WM_RBUTTONDOWN:
      mousePress(lParam, kRButton);
      return 0;
    case WM_MOUSEWHEEL:
      if (wheel(wParam, lParam)) return 0;
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (key(wParam, message == WM_KEYDOWN)) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool GdiFrameWindow::backgroundCoversWindow() const {
  const CBitmap* background = frame.getBackground();
  return background && background->getWidth() >= width && background->getHeight() >= height;
}

void GdiFrameWindow::paint() {
  PAINTSTRUCT paintState;
  HDC dc = BeginPaint(window, &paintState);
  if (dc) {
    GdiDrawContext context(dc, width, height);
    frame.draw(&context);
  }
  EndPaint(window, &paintState);
}

void GdiFrameWindow::mousePress(LPARAM position, std::int32_t pressedButton) {
  // Keys typed after a click go to the editor.
  SetFocus(window);
  CPoint where = messagePoint(position);
  // A control's loop or popup lets messages through, which may make the
  // editor close and release the frame (and with it this window); the extra
  // reference keeps both until the press is handled.
  CFrame& pressedFrame = frame;
  pressedFrame.remember();
  {
    std::unique_ptr<CDrawContext> context = createDrawContext();
    // The press itself counts even when the button was let go before the
    // message arrived.
    pressedFrame.mouse(context.get(), where, getButtons() | pressedButton);
  }
  pressedFrame.forget();
}

bool GdiFrameWindow::wheel(WPARAM wParam, LPARAM screenPosition) {
  POINT point{static_cast<short>(LOWORD(screenPosition)), static_cast<short>(HIWORD(screenPosition))};
  ScreenToClient(window, &point);
  float distance = static_cast<short>(HIWORD(wParam)) / wheelDeltaPerNotch;
  std::unique_ptr<CDrawContext> context = createDrawContext();
  return frame.onWheel(context.get(), {point.x, point.y}, distance);
}

bool GdiFrameWindow::key(WPARAM virtualKey, bool down) {
  VstKeyCode keyCode = translateKey(virtualKey);
  return (down ? frame.onKeyDown(keyCode) : frame.onKeyUp(keyCode)) == 1;
}

std::unique_ptr<CDrawContext> GdiFrameWindow::createDrawContext() {
  HDC dc = GetDC(window);
  if (!dc) return nullptr;
  return std::make_unique<GdiWindowContext>(window, dc, width, height);
}

std::unique_ptr<CDrawContext> GdiFrameWindow::createOffscreen(std::int32_t offscreenWidth,
                                                              std::int32_t offscreenHeight) {
  return GdiOffscreenContext::create(offscreenWidth, offscreenHeight);
}

std::int32_t GdiFrameWindow::getButtons() {
  // The asynchronous state names the physical buttons; the toolkit's bits
  // name the primary and secondary ones.
  bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  std::int32_t buttons = 0;
  if (isPressed(swapped ? VK_RBUTTON : VK_LBUTTON)) buttons |= kLButton;
  if (isPressed(VK_MBUTTON)) buttons |= kMButton;
  if (isPressed(swapped ? VK_LBUTTON : VK_RBUTTON)) buttons |= kRButton;
  if (isPressed(VK_SHIFT)) buttons |= kShift;
  if (isPressed(VK_CONTROL)) buttons |= kControl;
  if (isPressed(VK_MENU)) buttons |= kAlt;
  return buttons;
}

CPoint GdiFrameWindow::getMousePosition() {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(window, &point);
  return {point.x, point.y};
}

CPoint GdiFrameWindow::getScreenOrigin() {
  POINT point{};
  ClientToScreen(window, &point);
  return {point.x, point.y};
}

std::int32_t GdiFrameWindow::trackPopup(const PopupMenuRequest& request) {
  return trackGdiPopupMenu(window, request);
}
