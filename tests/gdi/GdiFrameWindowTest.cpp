#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "GdiTestSupport.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/FrameWindowFactory.h"
#include "gui/MouseButtons.h"
#include "gui/win32/GdiFrameWindow.h"

namespace {

constexpr CRect frameSize{0, 0, 120, 80};

// Records the input it receives; paints its rectangle red.
class RecordingView : public CView {
 public:
  explicit RecordingView(const CRect& size) : CView(size) {}
  void draw(CDrawContext* context) override {
    context->setFillColor({255, 0, 0, 255});
    context->fillRect(getViewSize());
  }
  void mouse(CDrawContext*, CPoint& where, std::int32_t buttons) override {
    presses.push_back(where);
    pressButtons.push_back(buttons);
  }
  bool onWheel(CDrawContext*, const CPoint& where, float distance) override {
    wheelPoints.push_back(where);
    distances.push_back(distance);
    return true;
  }

  std::vector<CPoint> presses;
  std::vector<std::int32_t> pressButtons;
  std::vector<CPoint> wheelPoints;
  std::vector<float> distances;
};

std::string expectedClassName() {
  char name[32];
  std::snprintf(name, sizeof name, "Plugin%p", static_cast<void*>(GetModuleHandleA(nullptr)));
  return name;
}

// A top-level window standing in for the host's.
class GdiFrameWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.lpszClassName = "TorvixTestHost";
    RegisterClassA(&hostClass);
    host = CreateWindowExA(0, "TorvixTestHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    REQUIRE_WINDOWS(host, "no window can be made here (no display)");
    frame = new CFrame(frameSize, host, nullptr);
    view = new RecordingView({10, 10, 50, 40});
    frame->addView(view);
    child = GetWindow(host, GW_CHILD);
  }
  void TearDown() override {
    if (frame) frame->forget();
    if (host) DestroyWindow(host);
    UnregisterClassA("TorvixTestHost", GetModuleHandleA(nullptr));
  }

  HWND host = nullptr;
  HWND child = nullptr;
  CFrame* frame = nullptr;
  RecordingView* view = nullptr;
};

TEST_F(GdiFrameWindowTest, MakesAVisibleChildWindowOfTheFramesSize) {
  ASSERT_NE(child, nullptr);
  auto* window = dynamic_cast<GdiFrameWindow*>(&frame->getWindow());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->getWindow(), child);
  char text[32] = {};
  GetClassNameA(child, text, sizeof text);
  EXPECT_EQ(std::string(text), expectedClassName());
  GetWindowTextA(child, text, sizeof text);
  EXPECT_EQ(std::string(text), "Window");
  RECT client{};
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 120);
  EXPECT_EQ(client.bottom, 80);
  auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
  DWORD wanted = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  EXPECT_EQ(style & wanted, wanted);
  WNDCLASSA windowClass{};
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), expectedClassName().c_str(), &windowClass));
  EXPECT_NE(windowClass.style & CS_GLOBALCLASS, 0u);
}

TEST_F(GdiFrameWindowTest, ButtonPressesReachTheViewAtTheirPoint) {
  SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));
  SendMessageA(child, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(11, 12));
  SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 30));
  ASSERT_EQ(view->presses.size(), 2u);
  EXPECT_EQ(view->presses[0], (CPoint{20, 30}));
  EXPECT_NE(view->pressButtons[0] & kLButton, 0);
  EXPECT_EQ(view->presses[1], (CPoint{11, 12}));
  EXPECT_NE(view->pressButtons[1] & kRButton, 0);
}

TEST_F(GdiFrameWindowTest, OneWheelNotchArrivesAsDistanceOneAtTheCursor) {
  POINT screen{30, 20};
  ClientToScreen(child, &screen);
  SendMessageA(child, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
  SendMessageA(child, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)),
               MAKELPARAM(screen.x, screen.y));
  ASSERT_EQ(view->distances.size(), 2u);
  EXPECT_EQ(view->distances[0], 1.0f);
  EXPECT_EQ(view->distances[1], -2.0f);
  EXPECT_EQ(view->wheelPoints[0], (CPoint{30, 20}));
}

TEST_F(GdiFrameWindowTest, ScreenOriginIsTheClientAreasCorner) {
  POINT corner{0, 0};
  ClientToScreen(child, &corner);
  EXPECT_EQ(frame->getWindow().getScreenOrigin(), (CPoint{corner.x, corner.y}));
}

// The pixel of the child window, or CLR_INVALID where it cannot be read.
COLORREF windowPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return pixel;
}

TEST_F(GdiFrameWindowTest, RedrawDrawsIntoTheWindow) {
  frame->redrawView(view);
  COLORREF inside = windowPixel(child, 20, 20);
  REQUIRE_WINDOWS(inside != CLR_INVALID, "the window's pixels cannot be read here");
  EXPECT_EQ(inside, RGB(255, 0, 0));
}

TEST_F(GdiFrameWindowTest, PaintMessageDrawsTheFrame) {
  frame->redrawView(view);
  HDC dc = GetDC(child);
  RECT all{0, 0, 120, 80};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(child, dc);
  InvalidateRect(child, nullptr, FALSE);
  UpdateWindow(child);
  COLORREF inside = windowPixel(child, 20, 20);
  REQUIRE_WINDOWS(inside != CLR_INVALID, "the window's pixels cannot be read here");
  EXPECT_EQ(inside, RGB(255, 0, 0));
  EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
}

TEST_F(GdiFrameWindowTest, ClassIsUnregisteredWithTheLastWindow) {
  frame->forget();
  frame = nullptr;
  WNDCLASSA windowClass{};
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), expectedClassName().c_str(), &windowClass));
}

TEST(GdiFrameWindowFallbackTest, NoParentWindowGivesAWindowlessFrame) {
  CFrame* frame = new CFrame(frameSize, static_cast<void*>(nullptr), nullptr);
  EXPECT_EQ(dynamic_cast<GdiFrameWindow*>(&frame->getWindow()), nullptr);
  EXPECT_EQ(frame->createDrawContext(), nullptr);
  frame->forget();
}

}  // namespace
