// The plug-in's editor in a real X11 window, driven by real pointer events.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"
#include "x11/X11TestScreen.h"

namespace {

constexpr int kWidth = kEditorWidth;
constexpr int kHeight = kEditorHeight;

// Our host, keeping the requests an edit sends: "43 i" (begin edit),
// "0 i v" (automate), "44 i" (end edit) and "42" (update display).
class EditRecordingCallback : public HostCallback {
 public:
  VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) override {
    char text[64] = "";
    if (opcode == audioMasterAutomate) {
      std::snprintf(text, sizeof text, "0 %d %g", static_cast<int>(index), static_cast<double>(opt));
    } else if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit) {
      std::snprintf(text, sizeof text, "%d %d", static_cast<int>(opcode), static_cast<int>(index));
    } else if (opcode == audioMasterUpdateDisplay) {
      std::snprintf(text, sizeof text, "42");
    }
    if (*text) edits.emplace_back(text);
    return HostCallback::answer(effect, opcode, index, value, ptr, opt);
  }
  std::vector<std::string> edits;
};

// The host's window and the module's effect with its editor open in it.
class X11EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!X11TestScreen::available()) GTEST_SKIP() << "needs an X server and xdotool";
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
  }

  void createHostWindow() { hostWindow = screen.mappedWindow(kWidth, kHeight); }
  Window mappedWindow(int width, int height, unsigned long background) {
    return screen.mappedWindow(width, height, background);
  }

  // Runs the host's side for a while: the editor's idle, as hosts call it.
  void pump(int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
      effect->dispatch(effEditIdle);
      screen.drainEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  static void xdotool(const std::string& commands) { X11TestScreen::xdotool(commands); }
  std::vector<Window> childrenOf(Window window) { return screen.childrenOf(window); }

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

  cairo_surface_t* screenshot(const std::string& name, Window window = 0) {
    return screen.screenshot(name, window ? window : hostWindow);
  }
  std::vector<std::uint32_t> menuPixels() { return screen.menuPixels(hostWindow); }
  static std::uint32_t pixel(cairo_surface_t* surface, int x, int y) {
    return X11TestScreen::pixel(surface, x, y);
  }
  static int indexLineRow(cairo_surface_t* surface, int column) {
    return X11TestScreen::indexLineRow(surface, column);
  }
  static int expectedIndexLineRow(float value) { return X11TestScreen::expectedIndexLineRow(value); }

  X11TestScreen screen;
  Display* display = screen.getDisplay();
  Window hostWindow = 0;
  TemporaryDirectory directory;
  EditRecordingCallback callback;
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

// A drag as a user makes it, the way hosts need it for touch automation:
// begin, the values as the handle moves, end; the last value the one that
// plays.
TEST_F(X11EditorWindowTest, ADragSendsBeginAutomateEndToTheHost) {
  X11TestScreen::dragPreGain(effect->getParameter(0), {10, 30});
  pump(1800);
  const std::vector<std::string>& edits = callback.edits;
  ASSERT_GE(edits.size(), 3u);
  EXPECT_EQ(edits.front(), "43 0");
  EXPECT_EQ(edits.back(), "44 0");
  for (std::size_t i = 1; i + 1 < edits.size(); ++i) EXPECT_EQ(edits[i].rfind("0 0 ", 0), 0u) << edits[i];
  float last = 0.0f;
  ASSERT_EQ(std::sscanf(edits[edits.size() - 2].c_str(), "0 0 %g", &last), 1);
  EXPECT_NEAR(last, effect->getParameter(0), 1e-5f);
}

TEST_F(X11EditorWindowTest, AWheelStepIsOneValueBetweenBeginAndEnd) {
  const float before = effect->getParameter(0);
  xdotool("mousemove " + std::to_string(kPreGainCentre) + " 150 click 4");
  pump(800);
  char value[32];
  std::snprintf(value, sizeof value, "0 0 %g", static_cast<double>(before + 0.1f));
  EXPECT_EQ(callback.edits, (std::vector<std::string>{"43 0", value, "44 0"}));
}

// The third entry through the popup, as a host that asked for Preset's
// properties sees it: the index itself.
TEST_F(X11EditorWindowTest, APickSendsTheDescriptionIndexToAHostThatKnowsTheRange) {
  VstParameterProperties properties{};
  ASSERT_EQ(effect->dispatch(effGetParameterProperties, 3, 0, &properties), 1);
  ASSERT_EQ(properties.maxInteger, 2);
  X11TestScreen::pickThirdSound();
  pump(1500);
  EXPECT_EQ(effect->getParameter(3), 2.0f);
  EXPECT_EQ(callback.edits, (std::vector<std::string>{"43 3", "0 3 2", "44 3"}));
}

// Automation on the host's audio thread moves the handle; a host-side sound
// change shows the menu text an editor opened on that sound shows.
TEST_F(X11EditorWindowTest, HostValuesShowInTheWindowAfterTheEditorsIdle) {
  effect->setParameter(0, 0.0f);
  pump(400);
  std::thread([this] { effect->setParameter(0, 1.0f); }).join();
  pump(600);
  cairo_surface_t* shot = screenshot("x11-editor-host-value.png");
  EXPECT_EQ(indexLineRow(shot, kPreGainCentre), expectedIndexLineRow(1.0f));
  cairo_surface_destroy(shot);

  const std::vector<std::uint32_t> firstSound = menuPixels();
  effect->setParameter(3, 2.0f);
  pump(600);
  const std::vector<std::uint32_t> shown = menuPixels();
  EXPECT_NE(shown, firstSound);
  effect->dispatch(effEditClose);
  ASSERT_EQ(effect->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(hostWindow)), 1);
  pump(400);
  EXPECT_EQ(menuPixels(), shown);
  EXPECT_TRUE(callback.edits.empty());  // nothing went back to the host
}

TEST_F(X11EditorWindowTest, DragAndWheelChangeThePreGain) {
  float start = effect->getParameter(0);
  X11TestScreen::dragPreGain(start, {20});
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
  X11TestScreen::pickThirdSound();
  pump(1500);
  EXPECT_EQ(effect->getParameter(3), 2.0f);
  cairo_surface_t* shot = screenshot("x11-editor-preset.png");
  cairo_surface_destroy(shot);
  // This host never asked for Preset's properties: it would keep 2.0 as 1.0.
  EXPECT_EQ(callback.edits, (std::vector<std::string>{"42"}));
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
