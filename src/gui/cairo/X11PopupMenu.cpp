#include "gui/cairo/X11PopupMenu.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo-xlib.h>

#include <memory>
#include <vector>

#include "gui/PopupMenuLayout.h"
#include "gui/PopupMenuRequest.h"
#include "gui/cairo/CairoDrawContext.h"
#include "platform/Clock.h"

namespace {

constexpr int grabAttempts = 100;
constexpr std::uint32_t grabRetryMilliseconds = 5;

class PopupWindow {
 public:
  PopupWindow(Display* display, const PopupMenuRequest& request)
      : display(display), visual(DefaultVisual(display, DefaultScreen(display))), request(request) {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    CairoDrawContext measuring(scratch, 1, 1);
    cairo_surface_destroy(scratch);
    layout = std::make_unique<PopupMenuLayout>(request, measuring);
    highlighted = request.currentIndex;
    createWindow();
  }
  ~PopupWindow() {
    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    XDestroyWindow(display, window);
    for (auto event = otherEvents.rbegin(); event != otherEvents.rend(); ++event)
      XPutBackEvent(display, &*event);
    XFlush(display);
  }

  std::int32_t run() {
    if (!grab()) return -1;
    for (;;) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.xany.window != window) {
        otherEvents.push_back(event);
        continue;
      }
      if (std::int32_t outcome = handle(event); outcome != stillOpen) return outcome;
    }
  }

 private:
  static constexpr std::int32_t stillOpen = -2;

  void createWindow() {
    CRect size = layout->bounds();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
    window = XCreateWindow(display, DefaultRootWindow(display), request.screenPosition.x,
                           request.screenPosition.y, static_cast<unsigned>(size.width()),
                           static_cast<unsigned>(size.height()), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
    XMapRaised(display, window);
    XFlush(display);
  }

  bool grab() {
    unsigned int mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    for (int attempt = 0; attempt < grabAttempts; ++attempt) {
      if (XGrabPointer(display, window, False, mask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) ==
          GrabSuccess) {
        XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        return true;
      }
      platform::sleepMilliseconds(grabRetryMilliseconds);
    }
    return false;
  }

  bool inside(int x, int y) const {
    CRect size = layout->bounds();
    return x >= 0 && y >= 0 && x < size.right && y < size.bottom;
  }

  std::int32_t handle(XEvent& event) {
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0) draw();
        return stillOpen;
      case MotionNotify:
        highlight(layout->itemAt({event.xmotion.x, event.xmotion.y}));
        return stillOpen;
      case ButtonPress:
        return inside(event.xbutton.x, event.xbutton.y) ? stillOpen : -1;
      case ButtonRelease: {
        std::int32_t item = layout->itemAt({event.xbutton.x, event.xbutton.y});
        return layout->isChoosable(item) ? item : stillOpen;
      }
      case KeyPress:
        return handleKey(event.xkey);
      default:
        return stillOpen;
    }
  }

  std::int32_t handleKey(XKeyEvent& event) {
    KeySym symbol = XLookupKeysym(&event, 0);
    if (symbol == XK_Escape) return -1;
    if (symbol == XK_Return || symbol == XK_KP_Enter)
      return layout->isChoosable(highlighted) ? highlighted : stillOpen;
    if (symbol == XK_Down) highlight(layout->nextChoosable(highlighted, 1));
    if (symbol == XK_Up) highlight(layout->nextChoosable(highlighted < 0 ? 0 : highlighted, -1));
    return stillOpen;
  }

  void highlight(std::int32_t item) {
    if (item == highlighted) return;
    highlighted = item;
    draw();
  }

  void draw() {
    CRect size = layout->bounds();
    cairo_surface_t* surface =
        cairo_xlib_surface_create(display, window, visual, size.width(), size.height());
    {
      CairoDrawContext context(surface, size.width(), size.height());
      layout->draw(context, highlighted);
    }
    cairo_surface_destroy(surface);
    XFlush(display);
  }

  Display* display;
  Visual* visual;
  const PopupMenuRequest& request;
  std::unique_ptr<PopupMenuLayout> layout;
  Window window = 0;
  std::int32_t highlighted = -1;
  std::vector<XEvent> otherEvents;
};

}  // namespace

std::int32_t runX11PopupMenu(Display* display, const PopupMenuRequest& request) {
  PopupWindow popup(display, request);
  return popup.run();
}
