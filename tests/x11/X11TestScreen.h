// A virtual X server's screen as the window tests use it: top-level windows
// standing in for a host's, their children, their pixels, and xdotool for
// real pointer and key events.
// GoogleTest comes before Xlib, whose None macro would break it.
#pragma once

#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <cairo.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// The editor's size, and where its pre-gain slider and its handle are.
constexpr int kEditorWidth = 619;
constexpr int kEditorHeight = 265;
constexpr int kPreGainCentre = 423;
constexpr int kSliderTop = 78;

class X11TestScreen {
 public:
  // Whether there is an X server and xdotool; tests skip without them.
  static bool available() {
    return std::getenv("DISPLAY") && std::system("command -v xdotool >/dev/null") == 0;
  }

  X11TestScreen() : display(connect()) {}
  ~X11TestScreen() {
    if (display) XCloseDisplay(display);
  }
  X11TestScreen(const X11TestScreen&) = delete;
  X11TestScreen& operator=(const X11TestScreen&) = delete;

  Display* getDisplay() const { return display; }

  // A top-level window of that size, mapped, filled with that colour
  // wherever no child covers it.
  Window mappedWindow(int width, int height, unsigned long background = 0) {
    Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, 0, background);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XEvent event;
    do XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != MapNotify);
    return window;
  }

  // Takes the events of this connection's windows, as a host's loop does.
  void drainEvents() {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
    }
  }

  // The children of a window, as xwininfo -tree lists them.
  std::vector<Window> childrenOf(Window window) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    std::vector<Window> found;
    if (XQueryTree(display, window, &root, &parent, &children, &count))
      found.assign(children, children + count);
    if (children) XFree(children);
    return found;
  }

  // The editor rectangle's pixels in the window, kept as a PNG for people
  // to look at.
  cairo_surface_t* screenshot(const std::string& name, Window window) {
    XImage* image = XGetImage(display, window, 0, 0, kEditorWidth, kEditorHeight, AllPlanes, ZPixmap);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kEditorWidth, kEditorHeight);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < kEditorHeight; ++y)
      for (int x = 0; x < kEditorWidth; ++x)
        reinterpret_cast<std::uint32_t*>(data + y * stride)[x] =
            static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    cairo_surface_mark_dirty(surface);
    cairo_surface_write_to_png(surface, name.c_str());
    return surface;
  }
  // The pixels of the preset menu's text field in the window.
  std::vector<std::uint32_t> menuPixels(Window window) {
    cairo_surface_t* shot = screenshot("x11-editor-menu.png", window);
    std::vector<std::uint32_t> pixels;
    for (int y = 100; y < 126; ++y)
      for (int x = 58; x < 226; ++x) pixels.push_back(pixel(shot, x, y));
    cairo_surface_destroy(shot);
    return pixels;
  }

  static std::uint32_t pixel(cairo_surface_t* surface, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
  }
  // The row of the handle's light index line in a slider's column: the
  // only yellowish pixels of the skin.
  static int indexLineRow(cairo_surface_t* surface, int column) {
    for (int y = 0; y < kEditorHeight; ++y) {
      std::uint32_t p = pixel(surface, column, y);
      int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (r > 180 && g > 170 && b < 170) return y;
    }
    return -1;
  }
  // Where the index line (row 10 of the handle) is drawn for a value.
  static int expectedIndexLineRow(float value) {
    int top = static_cast<int>(112.0f * (1.0f - value)) - 5;
    return kSliderTop + (top < 0 ? 0 : top) + 10;
  }

  // xdotool in the background, so that the editor keeps running meanwhile.
  static void xdotool(const std::string& commands) {
    ASSERT_EQ(std::system(("xdotool " + commands + " &").c_str()), 0);
  }
  // Presses the pre-gain handle where a value puts it, moves up by each of
  // the rises in turn and releases.
  static void dragPreGain(float value, const std::vector<int>& rises) {
    const int grabY = expectedIndexLineRow(value);
    std::string commands = "mousemove " + std::to_string(kPreGainCentre) + " " + std::to_string(grabY) +
                           " mousedown 1 sleep 0.2";
    for (int rise : rises)
      commands +=
          " mousemove " + std::to_string(kPreGainCentre) + " " + std::to_string(grabY - rise) + " sleep 0.2";
    xdotool(commands + " mouseup 1");
  }
  // Opens the menu's popup and picks the third entry (its row is 20 pixels
  // high after the first two and a 2-pixel border, below the menu at 126).
  static void pickThirdSound() { xdotool("mousemove 100 112 click 1 sleep 0.5 mousemove 100 178 click 1"); }

 private:
  // A virtual server on a busy machine refuses a connection now and then
  // while it catches up with closed ones: a few seconds of attempts.
  static Display* connect() {
    for (int attempt = 0; attempt < 100; ++attempt) {
      if (Display* opened = XOpenDisplay(nullptr)) return opened;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
  }

  Display* display;
};
