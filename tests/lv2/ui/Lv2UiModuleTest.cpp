// The LV2 UI module as an LV2 host uses it: loaded from its file, given the
// host's X11 window, its port writes and touch gestures recorded.
#include "x11/X11TestScreen.h"
// The LV2 interface only; the module is reached through its descriptor.
#include <lv2/ui/ui.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"

namespace {

constexpr const char* kUiUri = "urn:brelvanix:torvix-distortion#ui";

// The UI module's descriptor, from the module file.
class UiModule {
 public:
  UiModule() : library(LV2_UI_MODULE_PATH) {
    if (!library.isOpen()) return;
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(library.symbol("lv2ui_descriptor"));
    if (entry) {
      first = entry(0);
      second = entry(1);
    }
  }

  platform::DynamicLibrary library;
  const LV2UI_Descriptor* first = nullptr;
  const LV2UI_Descriptor* second = nullptr;
};

// The host's side: its features, and what the UI asked of it as "write p v",
// "touch p on", "touch p off" and "resize w h".
class FakeLv2Host {
 public:
  // The features a host offers; each may be left out.
  std::vector<const LV2_Feature*> features(void* parent, bool withTouch = true, bool withResize = true) {
    parentFeature = {LV2_UI__parent, parent};
    std::vector<const LV2_Feature*> list;
    if (parent) list.push_back(&parentFeature);
    if (withResize) list.push_back(&resizeFeature);
    if (withTouch) list.push_back(&touchFeature);
    list.push_back(nullptr);
    return list;
  }

  static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t protocol,
                    const void* buffer) {
    auto* host = static_cast<FakeLv2Host*>(controller);
    float value = 0.0f;
    if (protocol == 0 && size == sizeof value) std::memcpy(&value, buffer, sizeof value);
    host->record("write %u %g", port, static_cast<double>(value));
  }

  std::vector<std::string> calls;

 private:
  static void touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
    static_cast<FakeLv2Host*>(handle)->record(grabbed ? "touch %u on" : "touch %u off", port, 0.0);
  }
  static int resize(LV2UI_Feature_Handle handle, int width, int height) {
    char text[64];
    std::snprintf(text, sizeof text, "resize %d %d", width, height);
    static_cast<FakeLv2Host*>(handle)->calls.emplace_back(text);
    return 0;
  }
  void record(const char* format, uint32_t port, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(port), value);
    calls.emplace_back(text);
  }

  LV2UI_Touch touchData{this, touch};
  LV2UI_Resize resizeData{this, resize};
  LV2_Feature parentFeature{LV2_UI__parent, nullptr};
  LV2_Feature touchFeature{LV2_UI__touch, &touchData};
  LV2_Feature resizeFeature{LV2_UI__resize, &resizeData};
};

TEST(Lv2UiDescriptorTest, DescribesOneUiThatIdlesThroughTheIdleInterface) {
  UiModule module;
  ASSERT_TRUE(module.library.isOpen()) << module.library.error();
  ASSERT_NE(module.first, nullptr);
  EXPECT_STREQ(module.first->URI, kUiUri);
  EXPECT_EQ(module.second, nullptr);
  EXPECT_NE(module.first->extension_data(LV2_UI__idleInterface), nullptr);
  EXPECT_EQ(module.first->extension_data(LV2_UI__showInterface), nullptr);
}

// A bundle directory with an archive of three sounds, the host's window,
// and the UI instantiated in it.
class Lv2UiModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!X11TestScreen::available()) GTEST_SKIP() << "needs an X server and xdotool";
    ASSERT_NE(screen.getDisplay(), nullptr);
    ASSERT_NE(module.first, nullptr) << module.library.error();
    ASSERT_TRUE(writeZipFixture(
        bundle / "a.zip",
        {{"clean.xml", "<torvix/>"}, {"crunch.xml", "<torvix/>"}, {"fuzz.xml", "<torvix/>"}}));
    hostWindow = screen.mappedWindow(kEditorWidth, kEditorHeight);
    idleInterface =
        static_cast<const LV2UI_Idle_Interface*>(module.first->extension_data(LV2_UI__idleInterface));
  }
  void TearDown() override {
    if (ui) module.first->cleanup(ui);
  }

  LV2UI_Handle instantiate(const std::vector<const LV2_Feature*>& features) {
    const std::string bundlePath = bundle.path().string() + "/";
    return module.first->instantiate(module.first, "urn:brelvanix:torvix-distortion", bundlePath.c_str(),
                                     FakeLv2Host::write, &host, &widget, features.data());
  }
  void open(bool withTouch = true) {
    ui = instantiate(host.features(reinterpret_cast<void*>(hostWindow), withTouch));
    ASSERT_NE(ui, nullptr);
    pump(400);
    host.calls.clear();
  }

  // The host's UI loop for a while: the UI's idle and the host's events.
  void pump(int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
      EXPECT_EQ(idleInterface->idle(ui), 0);
      screen.drainEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  void portEvent(uint32_t port, float value) { module.first->port_event(ui, port, sizeof value, 0, &value); }

  UiModule module;
  X11TestScreen screen;
  TemporaryDirectory bundle;
  FakeLv2Host host;
  Window hostWindow = 0;
  const LV2UI_Idle_Interface* idleInterface = nullptr;
  LV2UI_Widget widget = nullptr;
  LV2UI_Handle ui = nullptr;
};

TEST_F(Lv2UiModuleTest, EmbedsTheEditorInTheHostsWindowAndAnnouncesItsSize) {
  ui = instantiate(host.features(reinterpret_cast<void*>(hostWindow)));
  ASSERT_NE(ui, nullptr);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"resize 619 265"}));
  const std::vector<Window> children = screen.childrenOf(hostWindow);
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(reinterpret_cast<Window>(widget), children[0]);
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(screen.getDisplay(), children[0], &attributes));
  EXPECT_EQ(attributes.width, kEditorWidth);
  EXPECT_EQ(attributes.height, kEditorHeight);
  pump(400);
  cairo_surface_t* shot = screen.screenshot("lv2-ui-open.png", hostWindow);
  EXPECT_EQ(X11TestScreen::indexLineRow(shot, kPreGainCentre), X11TestScreen::expectedIndexLineRow(0.5f));
  cairo_surface_destroy(shot);
}

TEST_F(Lv2UiModuleTest, ADragIsATouchGestureAroundThePortWrites) {
  open();
  X11TestScreen::dragPreGain(0.5f, {10, 30});
  pump(1800);
  const std::vector<std::string>& calls = host.calls;
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front(), "touch 0 on");
  EXPECT_EQ(calls.back(), "touch 0 off");
  for (std::size_t i = 1; i + 1 < calls.size(); ++i) EXPECT_EQ(calls[i].rfind("write 0 ", 0), 0u) << calls[i];
  float last = 0.0f;
  ASSERT_EQ(std::sscanf(calls[calls.size() - 2].c_str(), "write 0 %g", &last), 1);
  const float snapped = 1.0f - static_cast<float>(static_cast<int>(112.0f * 0.5f)) / 112.0f;
  EXPECT_NEAR(last, snapped + 30.0f / 112.0f, 1e-5f);
}

// The menu lists the bundle archive's sounds, and a pick writes the sound's
// index to the "Preset" port.
TEST_F(Lv2UiModuleTest, APickWritesTheSoundIndex) {
  open();
  X11TestScreen::pickThirdSound();
  pump(1500);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"touch 3 on", "write 3 2", "touch 3 off"}));
}

TEST_F(Lv2UiModuleTest, WithoutTouchAnEditStillWritesThePort) {
  open(false);
  X11TestScreen::pickThirdSound();
  pump(1500);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"write 3 2"}));
}

TEST_F(Lv2UiModuleTest, PortEventsShowAfterTheNextIdle) {
  open();
  const std::vector<std::uint32_t> firstSound = screen.menuPixels(hostWindow);
  portEvent(0, 1.0f);
  portEvent(3, 2.0f);
  pump(600);
  cairo_surface_t* shot = screen.screenshot("lv2-ui-port-event.png", hostWindow);
  EXPECT_EQ(X11TestScreen::indexLineRow(shot, kPreGainCentre), X11TestScreen::expectedIndexLineRow(1.0f));
  cairo_surface_destroy(shot);
  const std::vector<std::uint32_t> thirdSound = screen.menuPixels(hostWindow);
  EXPECT_NE(thirdSound, firstSound);
  EXPECT_TRUE(host.calls.empty());  // nothing went back to the host

  // The same text as a UI that is opened on the third sound.
  module.first->cleanup(ui);
  ui = nullptr;
  open();
  portEvent(3, 2.0f);
  pump(600);
  EXPECT_EQ(screen.menuPixels(hostWindow), thirdSound);
}

TEST_F(Lv2UiModuleTest, EventsOfOtherPortsOrFormatsAreIgnored) {
  open();
  const float value = 1.0f;
  module.first->port_event(ui, 4, sizeof value, 0, &value);      // the audio input
  module.first->port_event(ui, 0, sizeof value, 12345, &value);  // an atom, not a float
  module.first->port_event(ui, 0, 2, 0, &value);                 // a short buffer
  module.first->port_event(ui, 0, sizeof value, 0, nullptr);     // no buffer
  pump(400);
  cairo_surface_t* shot = screen.screenshot("lv2-ui-ignored.png", hostWindow);
  EXPECT_EQ(X11TestScreen::indexLineRow(shot, kPreGainCentre), X11TestScreen::expectedIndexLineRow(0.5f));
  cairo_surface_destroy(shot);
}

TEST_F(Lv2UiModuleTest, WithoutAParentWindowThereIsNoUi) {
  EXPECT_EQ(instantiate(host.features(nullptr)), nullptr);
  EXPECT_EQ(widget, nullptr);
  EXPECT_TRUE(screen.childrenOf(hostWindow).empty());
}

TEST_F(Lv2UiModuleTest, CleanupClosesTheEditorsWindow) {
  open();
  ASSERT_EQ(screen.childrenOf(hostWindow).size(), 1u);
  module.first->cleanup(ui);
  ui = nullptr;
  screen.drainEvents();
  EXPECT_TRUE(screen.childrenOf(hostWindow).empty());
}

}  // namespace
