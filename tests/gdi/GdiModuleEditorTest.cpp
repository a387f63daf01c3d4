#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "GdiTestSupport.h"
#include "ModuleResourceCopy.h"
#include "gui/CBitmap.h"
#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/SteadyArchive.h"
#include "support/TemporaryDirectory.h"

namespace {

// The header of the module's BITMAP resource of that id, or nullptr.
const BITMAPINFOHEADER* bitmapResource(HMODULE module, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  return loaded ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
}

// The built module, loaded as a host loads it.
class GdiModuleEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeSteadyArchive(directory.path() / "a.zip"));
    callback.setDirectory(directory.path().string());
    std::string error;
    module = PluginModule::load(GDI_MODULE_FILE, error);
    ASSERT_NE(module, nullptr) << error;
    handle = GetModuleHandleA(GDI_MODULE_FILE);
    ASSERT_NE(handle, nullptr);
  }
  void TearDown() override {
    effect.reset();
    if (host) DestroyWindow(host);
  }

  void startEffect() { startEffect(*module); }
  void startEffect(PluginModule& from) {
    AEffect* record = from.createEffect(callback);
    ASSERT_NE(record, nullptr);
    effect = std::make_unique<HostedEffect>(record);
    effect->start(44100.0f, 512);
  }
  // A top-level window standing in for the host's; false where none can be
  // made.
  bool makeHostWindow() {
    host = CreateWindowExA(0, "STATIC", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 340, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    return host != nullptr;
  }
  // The colour of the editor's window at that point, painted afresh;
  // CLR_INVALID where the window cannot be read.
  COLORREF editorPixel(int x, int y) {
    HWND child = GetWindow(host, GW_CHILD);
    InvalidateRect(child, nullptr, FALSE);
    UpdateWindow(child);
    HDC dc = GetDC(child);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(child, dc);
    return colour;
  }

  TemporaryDirectory directory;
  HostCallback callback;
  std::unique_ptr<PluginModule> module;
  std::unique_ptr<PluginModule> reskinnedModule;
  std::unique_ptr<HostedEffect> effect;
  HMODULE handle = nullptr;
  HWND host = nullptr;
};

TEST_F(GdiModuleEditorTest, ModuleCarriesTheSkinAsBitmapResources) {
  const BITMAPINFOHEADER* background = bitmapResource(handle, 10001);
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->biWidth, 619);
  EXPECT_EQ(background->biHeight, 265);
  const BITMAPINFOHEADER* sliderHandle = bitmapResource(handle, 10002);
  ASSERT_NE(sliderHandle, nullptr);
  EXPECT_EQ(sliderHandle->biWidth, 44);
  EXPECT_EQ(sliderHandle->biHeight, 21);
}

TEST_F(GdiModuleEditorTest, EditorDrawsItsSkinInAChildOfTheHostsWindow) {
  startEffect();
  REQUIRE_WINDOWS(makeHostWindow(), "no window can be made here (no display)");
  ASSERT_EQ(effect->dispatch(effEditOpen, 0, 0, host), 1);
  HWND child = GetWindow(host, GW_CHILD);
  ASSERT_NE(child, nullptr);
  char name[32];
  std::snprintf(name, sizeof name, "Plugin%p", static_cast<void*>(handle));
  char className[32] = {};
  GetClassNameA(child, className, sizeof className);
  EXPECT_EQ(std::string(className), name);
  RECT client{};
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 619);
  EXPECT_EQ(client.bottom, 265);

  COLORREF corner = editorPixel(4, 4);
  CBitmap skin(10001);
  std::uint32_t expected = skin.getPixels()[4 * 619 + 4];
  REQUIRE_WINDOWS(corner != CLR_INVALID, "the window's pixels cannot be read here");
  EXPECT_EQ(corner, RGB((expected >> 16) & 0xFF, (expected >> 8) & 0xFF, expected & 0xFF));

  effect->dispatch(effEditClose);
  EXPECT_FALSE(IsWindow(child));
}

// A module whose background resource was replaced draws the replacement.
TEST_F(GdiModuleEditorTest, EditorDrawsTheBackgroundResourceOfItsModule) {
  constexpr std::uint32_t kReplacement = 0x0CC822;
  const std::string reskinned = (directory / "Reskinned.dll").string();
  ASSERT_TRUE(copyModuleWithBitmaps(
      GDI_MODULE_FILE, reskinned,
      {{10001, packedBitmap(619, 265, 24, std::vector<std::uint32_t>(619 * 265, kReplacement))}}));
  std::string error;
  reskinnedModule = PluginModule::load(reskinned, error);
  ASSERT_NE(reskinnedModule, nullptr) << error;
  startEffect(*reskinnedModule);
  REQUIRE_WINDOWS(makeHostWindow(), "no window can be made here (no display)");
  ASSERT_EQ(effect->dispatch(effEditOpen, 0, 0, host), 1);
  COLORREF corner = editorPixel(4, 4);
  effect->dispatch(effEditClose);
  REQUIRE_WINDOWS(corner != CLR_INVALID, "the window's pixels cannot be read here");
  EXPECT_EQ(corner, RGB(0x0C, 0xC8, 0x22));
}

}  // namespace
