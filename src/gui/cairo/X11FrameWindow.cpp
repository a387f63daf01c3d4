#include "gui/cairo/X11FrameWindow.h"

#include <X11/Xutil.h>
#include <cairo-xlib.h>

#include <cstdint>

#include "gui/CFrame.h"
#include "gui/MouseButtons.h"
#include "gui/cairo/CairoDrawContext.h"
#include "gui/cairo/X11KeyTranslation.h"
#include "gui/cairo/X11PopupMenu.h"
#include "platform/PendingPaint.h"

namespace {

constexpr long windowEvents =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask | KeyReleaseMask;

// A context on the window: what it drew reaches the server when it goes.
class X11WindowContext final : public CairoDrawContext {
 public:
  X11WindowContext(Display* display, cairo_surface_t* surface, std::int32_t width, std::int32_t height)
      : CairoDrawContext(surface, width, height), display(display) {}
  ~X11WindowContext() override {
    finishDrawing();
    XFlush(display);
  }

 private:
  Display* display;
};

// The parent is checked with a private error handler, as a bad window id
// would otherwise end the process in Xlib's default handler.
bool badWindowSeen = false;
int noteError(Display*, XErrorEvent*) {
  badWindowSeen = true;
  return 0;
}

bool isWindow(Display* display, Window window) {
  badWindowSeen = false;
  XErrorHandler previous = XSetErrorHandler(noteError);
  XWindowAttributes attributes;
  Status found = XGetWindowAttributes(display, window, &attributes);
  XSync(display, False);
  XSetErrorHandler(previous);
  return found && !badWindowSeen;
}

std::int32_t buttonBits(unsigned int state) {
  std::int32_t bits = 0;
  if (state & Button1Mask) bits |= kLButton;
  if (state & Button2Mask) bits |= kMButton;
  if (state & Button3Mask) bits |= kRButton;
  if (state & ShiftMask) bits |= kShift;
  if (state & ControlMask) bits |= kControl;
  if (state & Mod1Mask) bits |= kAlt;
  return bits;
}

std::int32_t pressedButtonBit(unsigned int button) {
  switch (button) {
    case Button1:
      return kLButton;
    case Button2:
      return kMButton;
    case Button3:
      return kRButton;
    default:
      return 0;
  }
}

}  // namespace

std::unique_ptr<FrameWindow> X11FrameWindow::create(CFrame& frame, void* parentWindow, const CRect& size) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  auto parent = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow));
  if (!isWindow(display, parent)) {
    XCloseDisplay(display);
    return nullptr;
  }
  return std::make_unique<X11FrameWindow>(frame, display, parent, size);
}

X11FrameWindow::X11FrameWindow(CFrame& frame, Display* display, Window parent, const CRect& size)
    : frame(frame), display(display), width(size.width()), height(size.height()) {
  XWindowAttributes parentAttributes;
  XGetWindowAttributes(display, parent, &parentAttributes);
  visual = parentAttributes.visual;
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.event_mask = windowEvents;
  window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                         0, CopyFromParent, InputOutput, CopyFromParent,
                         CWBackPixmap | CWBorderPixel | CWEventMask, &attributes);
  XStoreName(display, window, "Window");
  XMapWindow(display, window);
  // Waits until the server has made the window: the host uses its id on a
  // connection of its own (an LV2 host embeds the returned widget), whose
  // requests the server may otherwise serve first.
  XSync(display, False);
  platform::registerPaintSource(this, serveOnePaint);
}

X11FrameWindow::~X11FrameWindow() {
  platform::unregisterPaintSource(this);
  XDestroyWindow(display, window);
  XCloseDisplay(display);
}

std::unique_ptr<CDrawContext> X11FrameWindow::createDrawContext() {
  cairo_surface_t* surface = cairo_xlib_surface_create(display, window, visual, width, height);
  auto context = std::make_unique<X11WindowContext>(display, surface, width, height);
  cairo_surface_destroy(surface);
  return context;
}

std::unique_ptr<CDrawContext> X11FrameWindow::createOffscreen(std::int32_t offscreenWidth,
                                                              std::int32_t offscreenHeight) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, offscreenWidth, offscreenHeight);
  auto context = std::make_unique<CairoDrawContext>(surface, offscreenWidth, offscreenHeight);
  cairo_surface_destroy(surface);
  return context;
}

std::int32_t X11FrameWindow::getButtons() {
  Window root, child;
  int rootX, rootY, windowX, windowY;
  unsigned int mask = 0;
  XQueryPointer(display, window, &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
  return buttonBits(mask);
}

CPoint X11FrameWindow::getMousePosition() {
  Window root, child;
  int rootX, rootY, windowX = -1, windowY = -1;
  unsigned int mask = 0;
  XQueryPointer(display, window, &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
  return {windowX, windowY};
}

CPoint X11FrameWindow::getScreenOrigin() {
  Window child;
  int x = 0, y = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  return {x, y};
}

std::int32_t X11FrameWindow::trackPopup(const PopupMenuRequest& request) {
  return runX11PopupMenu(display, request);
}

bool X11FrameWindow::serveOnePaint(void* context) {
  auto* self = static_cast<X11FrameWindow*>(context);
  XEvent event;
  if (!XCheckTypedWindowEvent(self->display, self->window, Expose, &event)) return false;
  while (XCheckTypedWindowEvent(self->display, self->window, Expose, &event)) {
  }
  self->redrawAll();
  return true;
}

void X11FrameWindow::deliverPendingEvents() {
  if (busy) return;
  // An event may let the editor close and release the frame (and with it
  // this window); the extra reference keeps both until the loop has seen it.
  frame.remember();
  while (frame.getNbReference() > 1 && XPending(display)) {
    XEvent event;
    XNextEvent(display, &event);
    handleEvent(event);
  }
  frame.forget();
}

void X11FrameWindow::handleEvent(XEvent& event) {
  if (event.xany.window != window) return;
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) redrawAll();
      break;
    case ButtonPress:
      handleButtonPress(event.xbutton);
      break;
    case KeyPress:
      handleKey(event.xkey, true);
      break;
    case KeyRelease:
      handleKey(event.xkey, false);
      break;
    default:
      break;
  }
}

void X11FrameWindow::handleButtonPress(const XButtonEvent& event) {
  CPoint where{event.x, event.y};
  busy = true;
  std::unique_ptr<CDrawContext> context = createDrawContext();
  if (event.button == Button4 || event.button == Button5) {
    frame.onWheel(context.get(), where, event.button == Button4 ? 1.0f : -1.0f);
  } else if (std::int32_t pressed = pressedButtonBit(event.button)) {
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    frame.mouse(context.get(), where, buttonBits(event.state) | pressed);
  }
  busy = false;
}

void X11FrameWindow::handleKey(XKeyEvent& event, bool down) {
  VstKeyCode keyCode = translateKey(event);
  if (down)
    frame.onKeyDown(keyCode);
  else
    frame.onKeyUp(keyCode);
}

void X11FrameWindow::redrawAll() { frame.redrawView(&frame); }
