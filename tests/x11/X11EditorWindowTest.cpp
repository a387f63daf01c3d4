// The plug-in's editor in a real X11 window, driven by real pointer events.
// GoogleTest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <cairo.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"

namespace {

constexpr int kWidth = 619;
constexpr int kHeight = 265;
constexpr int kPreGainCentre = 423;
constexpr int kSliderTop = 78;

// The host's window and the module's effect with its editor open in it.
class X11EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY") || std::system("command -v xdotool >/dev/null") != 0)
      GTEST_SKIP() << "needs an X server and xdotool";
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    createHostWindow();
    ASSERT_TRUE(writeZipFixture(
        directory / "a.zip",
        {{"clean.xml", "<torvix/>"}, {"crunch.xml", "<torvix/>"}, {"fuzz.xml", "<torvix/>"}}));
    callback.setDirectory(directory.path().string());
    std::string error;
    module = PluginModule::load(PLUGIN_MODULE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
    effect = std::make_unique<HostedEffect>(module->createEffect(callback));
    effect->start(44100.0f, 512);
    ERect* rect = nullptr;
    ASSERT_EQ(effect->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_EQ(rect->right - rect->left, kWidth);
    ASSERT_EQ(rect->bottom - rect->top, kHeight);
    ASSERT_EQ(effect->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(hostWindow)), 1);
    pump(400);
  }
  void TearDown() override {
    if (effect) {
      effect->dispatch(effEditClose);
      effect.reset();
    }
    if (display) XCloseDisplay(display);
  }

  void createHostWindow() { hostWindow = mappedWindow(kWidth, kHeight, 0); }

  // A top-level window of that size, mapped, filled with that colour
  // wherever no child covers it.
  Window mappedWindow(int width, int height, unsigned long background) {
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

  // Runs the host's side for a while: the editor's idle, as hosts call it.
  void pump(int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
      effect->dispatch(effEditIdle);
      while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // xdotool in the background, so that the editor keeps running meanwhile.
  void xdotool(const std::string& commands) {
    ASSERT_EQ(std::system(("xdotool " + commands + " &").c_str()), 0);
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

  // The pixels of the editor's rectangle in the window that still show
  // that colour once the editor has had time to paint (the host's idle
  // runs meanwhile; a busy machine may take a while).
  int unpaintedPixels(Window window, unsigned long colour) {
    int unpainted = kWidth * kHeight;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (unpainted > 0 && std::chrono::steady_clock::now() < deadline) {
      pump(100);
      cairo_surface_t* shot = screenshot("x11-editor-container.png", window);
      unpainted = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) unpainted += pixel(shot, x, y) == colour;
      cairo_surface_destroy(shot);
    }
    return unpainted;
  }

  // The window's pixels, kept as a PNG for people to look at.
  cairo_surface_t* screenshot(const std::string& name, Window window = 0) {
    XImage* image =
        XGetImage(display, window ? window : hostWindow, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        reinterpret_cast<std::uint32_t*>(data + y * stride)[x] =
            static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    cairo_surface_mark_dirty(surface);
    cairo_surface_write_to_png(surface, name.c_str());
    return surface;
  }
  static std::uint32_t pixel(cairo_surface_t* surface, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
  }
  // The row of the handle's light index line in a slider's column: the
  // only yellowish pixels of the skin.
  static int indexLineRow(cairo_surface_t* surface, int column) {
    for (int y = 0; y < kHeight; ++y) {
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

  Display* display = nullptr;
  Window hostWindow = 0;
  TemporaryDirectory directory;
  HostCallback callback;
  std::unique_ptr<PluginModule> module;
  std::unique_ptr<HostedEffect> effect;
};

TEST_F(X11EditorWindowTest, ShowsTheSkinWithTheHandlesWhereTheValuesPutThem) {
  effect->dispatch(effEditClose);
  effect->setParameter(2, 0.0f);
  effect->setParameter(0, 1.0f);
  effect->setParameter(1, 0.25f);
  ASSERT_EQ(effect->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(hostWindow)), 1);
  pump(400);
  cairo_surface_t* shot = screenshot("x11-editor-open.png");
  EXPECT_EQ(indexLineRow(shot, 313), expectedIndexLineRow(0.0f));
  EXPECT_EQ(indexLineRow(shot, kPreGainCentre), expectedIndexLineRow(1.0f));
  EXPECT_EQ(indexLineRow(shot, 532), expectedIndexLineRow(0.25f));
  // The version label: white lettering on black in the lower right corner.
  EXPECT_EQ(pixel(shot, 556, 252), 0x000000u);
  // Skin, not an empty window, around the sliders.
  EXPECT_NE(pixel(shot, 20, 20), pixel(shot, 360, 140));
  cairo_surface_destroy(shot);
}

// Hosts size their container from the editor rectangle, some with a few
// pixels to spare: the editor's window is that rectangle exactly, at the
// container's origin, and paints every pixel of it.
TEST_F(X11EditorWindowTest, EditorWindowIsExactlyTheEditorRectangleAndFullyPainted) {
  constexpr unsigned long kUnpainted = 0xFF00FF;  // a colour the skin does not use
  effect->dispatch(effEditClose);
  for (int containerHeight : {kHeight, kHeight + 6}) {
    SCOPED_TRACE(containerHeight);
    Window container = mappedWindow(kWidth, containerHeight, kUnpainted);
    ASSERT_EQ(effect->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(container)), 1);
    pump(400);
    std::vector<Window> children = childrenOf(container);
    ASSERT_EQ(children.size(), 1u);
    XWindowAttributes child{};
    ASSERT_TRUE(XGetWindowAttributes(display, children[0], &child));
    EXPECT_EQ(child.x, 0);
    EXPECT_EQ(child.y, 0);
    EXPECT_EQ(child.width, kWidth);
    EXPECT_EQ(child.height, kHeight);
    EXPECT_EQ(child.border_width, 0);
    EXPECT_EQ(unpaintedPixels(container, kUnpainted), 0);
    effect->dispatch(effEditClose);
    EXPECT_TRUE(childrenOf(container).empty());
    XDestroyWindow(display, container);
  }
}

TEST_F(X11EditorWindowTest, DragAndWheelChangeThePreGain) {
  float start = effect->getParameter(0);
  int grabY = expectedIndexLineRow(start);
  xdotool("mousemove " + std::to_string(kPreGainCentre) + " " + std::to_string(grabY) +
          " mousedown 1 sleep 0.2 mousemove " + std::to_string(kPreGainCentre) + " " +
          std::to_string(grabY - 20) + " sleep 0.3 mouseup 1");
  pump(1500);
  float dragged = effect->getParameter(0);
  float snapped = 1.0f - static_cast<float>(static_cast<int>(112.0f * (1.0f - start))) / 112.0f;
  EXPECT_NEAR(dragged, snapped + 20.0f / 112.0f, 1e-5f);

  xdotool("mousemove " + std::to_string(kPreGainCentre) + " 150 click 4");
  pump(800);
  EXPECT_NEAR(effect->getParameter(0), dragged + 0.1f, 1e-5f);
  cairo_surface_t* shot = screenshot("x11-editor-dragged.png");
  EXPECT_EQ(indexLineRow(shot, kPreGainCentre), expectedIndexLineRow(effect->getParameter(0)));
  cairo_surface_destroy(shot);
}

TEST_F(X11EditorWindowTest, PopupChoiceSelectsAPreset) {
  ASSERT_EQ(effect->getParameter(3), 0.0f);
  // The popup opens below the menu (58, 126); the third entry's row is
  // 20 pixels high after the first two and a 2-pixel border.
  xdotool("mousemove 100 112 click 1 sleep 0.5 mousemove 100 178 click 1");
  pump(1500);
  EXPECT_EQ(effect->getParameter(3), 2.0f);
  cairo_surface_t* shot = screenshot("x11-editor-preset.png");
  cairo_surface_destroy(shot);
}

TEST_F(X11EditorWindowTest, EscapeDismissesThePopup) {
  xdotool("mousemove 100 112 click 1 sleep 0.5 key Escape");
  pump(1200);
  EXPECT_EQ(effect->getParameter(3), 0.0f);
  // The editor still answers afterwards.
  xdotool("mousemove " + std::to_string(kPreGainCentre) + " 150 click 5");
  float before = effect->getParameter(0);
  pump(600);
  EXPECT_NEAR(effect->getParameter(0), before - 0.1f, 1e-5f);
}

}  // namespace
