#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "editor/CZrTextLabel.h"
#include "editor/VelkoranEditor.h"
#include "frame/AudioEffectX.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/CVerticalSlider.h"
#include "gui/MouseButtons.h"
#include "gui/cairo/EditorSnapshot.h"
#include "support/ScriptedFrameWindow.h"
#include "support/ScriptedIdleServices.h"
#include "support/TemporaryDirectory.h"

namespace {

// The main effect as the editor sees it: four parameters, the edit bracket
// that shows and hides the value display, and the description names.
class FakeVelkoran : public AudioEffectX {
 public:
  FakeVelkoran() : AudioEffectX(nullptr, 1, 4) {}

  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    changes.emplace_back(index, value);
    parameters[index] = value;
  }
  float getParameter(VstInt32 index) override { return parameters[index]; }
  bool beginEdit(VstInt32) override {
    static_cast<VelkoranEditor*>(editor)->showValueDisplay(true);
    if (watched && watched->shown) shownAtBegin = watched->text;
    return true;
  }
  bool endEdit(VstInt32) override {
    static_cast<VelkoranEditor*>(editor)->showValueDisplay(false);
    return true;
  }

  float parameters[4] = {0.5f, 0.25f, 0.75f, 1.0f};
  std::vector<std::pair<VstInt32, float>> changes;
  // The value display's text right after an edit began, when watched.
  CZrTextLabel* watched = nullptr;
  std::string shownAtBegin;
};

// Records the value display's text after every control change.
class WatchingEditor : public VelkoranEditor {
 public:
  using VelkoranEditor::VelkoranEditor;
  void controlChanged(CDrawContext* context, CControl* control) override {
    VelkoranEditor::controlChanged(context, control);
    auto* display = dynamic_cast<CZrTextLabel*>(getToolkitFrame()->getChildren().at(4));
    texts.push_back(display->text);
  }
  std::vector<std::string> texts;
};

class VelkoranEditorTest : public ::testing::Test {
 protected:
  VelkoranEditorTest() { editor = new WatchingEditor(&effect, &names, services); }

  // Opens the editor and draws it, as the window's first paint does.
  void open() {
    ASSERT_TRUE(editor->open(reinterpret_cast<void*>(0x1234)));
    window = ScriptedWindowInstaller::lastWindow();
    frame = editor->getToolkitFrame();
    frame->redrawView(frame);
  }
  template <typename Control>
  Control* child(std::size_t index) const {
    return dynamic_cast<Control*>(frame->getChildren().at(index));
  }
  CVerticalSlider* bass() const { return child<CVerticalSlider>(0); }
  CVerticalSlider* preGain() const { return child<CVerticalSlider>(1); }
  CVerticalSlider* postGain() const { return child<CVerticalSlider>(2); }
  COptionMenu* menu() const { return child<COptionMenu>(3); }
  CZrTextLabel* display() const { return child<CZrTextLabel>(4); }
  CZrTextLabel* version() const { return child<CZrTextLabel>(5); }

  // Presses a slider on its handle and drags it by dy pixels (up is
  // negative) in one step, then releases it.
  void drag(CVerticalSlider* slider, std::int32_t dy) {
    CRect handle = slider->handleRect().offsetBy(slider->getViewSize().left, slider->getViewSize().top);
    CPoint where{handle.left + 20, handle.top + 8};
    window->hold(kLButton, where);
    window->then(kLButton, where.offsetBy(0, dy));
    window->then(kLButton, where.offsetBy(0, dy));
    window->then(0, where.offsetBy(0, dy));
    frame->mouse(nullptr, where, kLButton);
  }

  ScriptedWindowInstaller installer;
  ScriptedIdleServices services;
  std::vector<std::string> names{"clean.xml", "fuzz.xml", "crunch.xml"};
  FakeVelkoran effect;
  WatchingEditor* editor;  // owned by the effect
  ScriptedFrameWindow* window = nullptr;
  CFrame* frame = nullptr;
};

TEST_F(VelkoranEditorTest, ReportsTheSkinSizeAndOffersAnEditor) {
  ERect* rect = nullptr;
  EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 265);
  EXPECT_EQ(rect->right, 619);
  EXPECT_TRUE(effect.getAeffect()->flags & effFlagsHasEditor);
  EXPECT_EQ(editor->getToolkitFrame(), nullptr);
}

TEST_F(VelkoranEditorTest, OpenBuildsTheSixControlsInOrder) {
  open();
  EXPECT_EQ(frame->getViewSize(), (CRect{0, 0, 619, 265}));
  ASSERT_EQ(frame->getChildren().size(), 6u);
  ASSERT_TRUE(bass() && preGain() && postGain() && menu() && display() && version());
  EXPECT_EQ(bass()->getViewSize(), (CRect{293, 78, 333, 203}));
  EXPECT_EQ(preGain()->getViewSize(), (CRect{403, 78, 443, 203}));
  EXPECT_EQ(postGain()->getViewSize(), (CRect{512, 78, 552, 203}));
  EXPECT_EQ(menu()->getViewSize(), (CRect{58, 100, 243, 126}));
  EXPECT_EQ(display()->getViewSize(), (CRect{243, 83, 272, 97}));
  EXPECT_EQ(version()->getViewSize(), (CRect{553, 250, 620, 266}));
  EXPECT_EQ(bass()->getTag(), 2);
  EXPECT_EQ(preGain()->getTag(), 0);
  EXPECT_EQ(postGain()->getTag(), 1);
  EXPECT_EQ(menu()->getTag(), 3);
  EXPECT_EQ(bass()->getBackOffset(), (CPoint{293, 78}));
  EXPECT_EQ(bass()->getOffsetHandle(), (CPoint{-2, -5}));
  EXPECT_EQ(frame->getBackground()->getResourceId(), 10001);
}

TEST_F(VelkoranEditorTest, ControlsShowTheParameterValuesAndLooks) {
  open();
  EXPECT_EQ(bass()->getValue(), 0.75f);
  EXPECT_EQ(preGain()->getValue(), 0.5f);
  EXPECT_EQ(postGain()->getValue(), 0.25f);
  EXPECT_EQ(menu()->getCurrent(), 1);
  EXPECT_TRUE(menu()->getTransparency());
  EXPECT_EQ(menu()->getFont(), kNormalFontBig);
  EXPECT_EQ(menu()->getFontColor(), (CColor{93, 108, 107, 255}));
  EXPECT_EQ(display()->getBackColor(), (CColor{152, 174, 173, 255}));
  EXPECT_EQ(display()->getFont(), kNormalFont);
  EXPECT_TRUE(display()->shown);
  EXPECT_EQ(display()->text, "");
  EXPECT_EQ(version()->text, "Version 1.2");
  EXPECT_EQ(version()->getFontColor(), kWhiteCColor);
  EXPECT_TRUE(effect.changes.empty());
}

TEST_F(VelkoranEditorTest, MenuListsTheDescriptionsWithoutTheirExtension) {
  names.push_back(std::string(150, 'n') + ".xml");
  open();
  ASSERT_EQ(menu()->getNbEntries(), 4);
  EXPECT_STREQ(menu()->getEntry(0), "clean");
  EXPECT_STREQ(menu()->getEntry(2), "crunch");
  EXPECT_EQ(std::string(menu()->getEntry(3)), std::string(99, 'n'));
}

TEST_F(VelkoranEditorTest, PresetOutsideTheEntriesLeavesTheFirstSelected) {
  effect.parameters[3] = 5.0f;
  open();
  EXPECT_EQ(menu()->getCurrent(), 0);
}

TEST_F(VelkoranEditorTest, NoDescriptionsGiveAnEmptyMenu) {
  names.clear();
  open();
  EXPECT_EQ(menu()->getNbEntries(), 0);
  EXPECT_EQ(menu()->getCurrent(), -1);
}

TEST_F(VelkoranEditorTest, PickingTheThirdEntrySetsThePresetAndRedrawsEverything) {
  open();
  // The window is painted over with a colour of no view, so that whatever
  // the pick does not redraw keeps it.
  constexpr CColor kStale{255, 0, 255, 255};
  {
    std::unique_ptr<CDrawContext> context = window->createDrawContext();
    context->setFillColor(kStale);
    context->fillRect(frame->getViewSize());
  }
  ASSERT_EQ(window->pixel(0, 0), 0xFF00FFu);
  window->popupChoice = 2;
  CPoint where{100, 110};
  {
    std::unique_ptr<CDrawContext> context = window->createDrawContext();
    frame->mouse(context.get(), where, kLButton);
  }
  EXPECT_EQ(effect.changes, (std::vector<std::pair<VstInt32, float>>{{3, 2.0f}}));
  EXPECT_EQ(menu()->getCurrent(), 2);
  EXPECT_FALSE(display()->shown);
  int stale = 0;
  for (std::int32_t y = 0; y < window->getHeight(); ++y)
    for (std::int32_t x = 0; x < window->getWidth(); ++x) stale += window->pixel(x, y) == 0xFF00FFu;
  EXPECT_EQ(stale, 0);
  CBitmap skin(10001);
  EXPECT_EQ(window->pixel(0, 0), skin.getPixels()[0] & 0xFFFFFFu);
}

TEST_F(VelkoranEditorTest, BassDragShowsWholeNumbersFromMinusFiftyToFifty) {
  effect.parameters[2] = 0.0f;
  open();
  drag(bass(), -112);
  EXPECT_EQ(effect.changes.back(), (std::pair<VstInt32, float>{2, 1.0f}));
  drag(bass(), 112);
  EXPECT_EQ(editor->texts, (std::vector<std::string>{"50", "-50"}));
  // Releasing shows the raw value again, with its digits hidden.
  EXPECT_EQ(display()->text, "0.00");
  EXPECT_FALSE(display()->shown);
}

TEST_F(VelkoranEditorTest, BassTextTruncatesTowardZero) {
  open();
  bass()->setValue(0.505f);
  editor->controlChanged(nullptr, bass());
  EXPECT_EQ(display()->text, "0");
  bass()->setValue(0.004f);
  editor->controlChanged(nullptr, bass());
  EXPECT_EQ(display()->text, "-49");
}

TEST_F(VelkoranEditorTest, GainTextsHaveTwoDecimals) {
  open();
  preGain()->setValue(0.256f);
  editor->controlChanged(nullptr, preGain());
  EXPECT_EQ(display()->text, "0.26");
  postGain()->setValue(1.0f);
  editor->controlChanged(nullptr, postGain());
  EXPECT_EQ(display()->text, "1.00");
  EXPECT_EQ(effect.changes.back(), (std::pair<VstInt32, float>{1, 1.0f}));
  EXPECT_FALSE(display()->isDirty());  // drawn at once
}

TEST_F(VelkoranEditorTest, PressShowsTheRawValueAndReleaseHidesIt) {
  effect.parameters[2] = 0.5f;
  open();
  effect.watched = display();
  drag(bass(), 0);
  EXPECT_EQ(effect.shownAtBegin, "0.50");
  EXPECT_EQ(display()->text, "0.50");
  EXPECT_FALSE(display()->shown);
  EXPECT_TRUE(effect.changes.empty());
}

TEST_F(VelkoranEditorTest, HiddenDisplayDrawsItsBoxWithoutDigits) {
  open();
  auto drawDisplay = [&]() {
    frame->redrawView(display());
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 83; y < 97; ++y)
      for (std::int32_t x = 243; x < 272; ++x) pixels.push_back(window->pixel(x, y));
    return pixels;
  };
  display()->text = "";
  std::vector<std::uint32_t> box = drawDisplay();
  display()->text = "0.50";
  EXPECT_NE(drawDisplay(), box);
  display()->shown = false;
  EXPECT_EQ(drawDisplay(), box);
  EXPECT_EQ(box[30 * 0 + 5], 0x98AEADu);  // frame line colour (152, 174, 173)
}

TEST_F(VelkoranEditorTest, ShowValueDisplayWhileClosedDoesNothing) {
  editor->showValueDisplay(true);
  VstKeyCode key{0, VKEY_UP, 0};
  EXPECT_FALSE(editor->onKeyDown(key));
}

TEST_F(VelkoranEditorTest, ArrowKeysMoveTheFocusedSlider) {
  open();
  drag(preGain(), 0);
  VstKeyCode up{0, VKEY_UP, 0};
  EXPECT_TRUE(editor->onKeyDown(up));
  EXPECT_EQ(effect.changes.back().first, 0);
  EXPECT_FLOAT_EQ(effect.changes.back().second, 0.6f);
}

TEST_F(VelkoranEditorTest, HostWheelReachesTheSliderUnderTheMouse) {
  open();
  window->hold(0, {423, 150});
  EXPECT_TRUE(editor->onWheel(1.0f));
  EXPECT_FLOAT_EQ(effect.parameters[0], 0.6f);
  EXPECT_EQ(display()->text, "0.60");
}

TEST_F(VelkoranEditorTest, ReopeningRebuildsWithTheValuesOfThatMoment) {
  open();
  editor->close();
  EXPECT_EQ(editor->getToolkitFrame(), nullptr);
  EXPECT_FALSE(editor->isOpen());
  effect.parameters[0] = 0.1f;
  effect.parameters[3] = 2.0f;
  open();
  EXPECT_EQ(preGain()->getValue(), 0.1f);
  EXPECT_EQ(menu()->getCurrent(), 2);
  EXPECT_EQ(display()->text, "");
}

TEST_F(VelkoranEditorTest, OpeningAgainWithoutClosingReplacesTheFrame) {
  open();
  CFrame* first = frame;
  first->remember();
  effect.parameters[1] = 0.9f;
  open();
  EXPECT_NE(frame, first);
  EXPECT_EQ(first->getNbReference(), 1);  // the editor let go of it
  EXPECT_EQ(postGain()->getValue(), 0.9f);
  first->forget();
}

TEST_F(VelkoranEditorTest, IdleLetsTheFrameDeliverItsEvents) {
  open();
  effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(window->eventDeliveries, 1);
}

TEST(EditorSnapshotTest, WritesTheEditorRectangleAsPng) {
  TemporaryDirectory directory;
  std::vector<std::string> names{"clean.xml"};
  FakeVelkoran effect;
  auto* editor = new VelkoranEditor(&effect, &names);
  std::string path = (directory / "editor.png").string();
  ASSERT_TRUE(writeEditorSnapshot(*editor, path));
  EXPECT_EQ(editor->getToolkitFrame(), nullptr);
  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(image), 619);
  EXPECT_EQ(cairo_image_surface_get_height(image), 265);
  cairo_surface_destroy(image);
}

TEST(EditorSnapshotTest, RefusesAnOpenEditorAndLeavesNoFile) {
  ScriptedWindowInstaller installer;
  TemporaryDirectory directory;
  FakeVelkoran effect;
  auto* editor = new VelkoranEditor(&effect, nullptr);
  editor->open(reinterpret_cast<void*>(0x1234));
  std::string path = (directory / "editor.png").string();
  EXPECT_FALSE(writeEditorSnapshot(*editor, path));
  EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
}

}  // namespace
