#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <ostream>
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

constexpr CRect kPresetMenuRect{58, 100, 243, 126};

// The main effect as the editor sees it: four parameters, the edit calls
// that reach the host, and the description names. Every call the editor
// makes of the edit is logged as "begin i", "automate i v" or "end i".
class FakeVelkoran : public AudioEffectX {
 public:
  FakeVelkoran() : AudioEffectX(nullptr, 1, 4) {}

  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    changes.emplace_back(index, value);
    parameters[index] = value;
  }
  float getParameter(VstInt32 index) override { return parameters[index]; }
  bool beginEdit(VstInt32 index) override {
    log("begin", index);
    if (watched && watched->shown) shownAtBegin = watched->text;
    return true;
  }
  void setParameterAutomated(VstInt32 index, float value) override {
    log("automate", index, value);
    AudioEffectX::setParameterAutomated(index, value);
  }
  bool endEdit(VstInt32 index) override {
    log("end", index);
    return true;
  }

  float parameters[4] = {0.5f, 0.25f, 0.75f, 1.0f};
  std::vector<std::pair<VstInt32, float>> changes;
  std::vector<std::string> calls;
  // The value display's text right after an edit began, when watched.
  CZrTextLabel* watched = nullptr;
  std::string shownAtBegin;

 private:
  void log(const char* what, VstInt32 index) {
    calls.push_back(std::string(what) + " " + std::to_string(index));
  }
  void log(const char* what, VstInt32 index, float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %d %g", what, static_cast<int>(index), static_cast<double>(value));
    calls.push_back(text);
  }
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
 public:
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

  // The window's pixels inside a rectangle, row by row.
  std::vector<std::uint32_t> pixelsIn(const CRect& rect) const {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = rect.top; y < rect.bottom; ++y)
      for (std::int32_t x = rect.left; x < rect.right; ++x) pixels.push_back(window->pixel(x, y));
    return pixels;
  }
  void idle() { effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f); }
  // The pixels of rect in an editor opened afresh at the effect's values.
  std::vector<std::uint32_t> pixelsWhenOpenedAfresh(const CRect& rect) {
    editor->close();
    open();
    return pixelsIn(rect);
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

// --- Edits towards the host: every kind of edit is one bracket of the
// control's tag around the values it reports.

struct EditCase {
  const char* name;
  std::function<void(VelkoranEditorTest&)> edit;
  std::vector<std::string> calls;
};

void PrintTo(const EditCase& edit, std::ostream* out) { *out << edit.name; }

class EditBracketTest : public VelkoranEditorTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditBracketTest, ReachesTheEffectAsBeginAutomateEnd) {
  open();
  GetParam().edit(*this);
  EXPECT_EQ(effect.calls, GetParam().calls);
  // Every reported value reached the effect's parameter too.
  std::vector<std::pair<VstInt32, float>> automated;
  for (const std::string& call : effect.calls) {
    int index = 0;
    float value = 0.0f;
    if (std::sscanf(call.c_str(), "automate %d %g", &index, &value) == 2)
      automated.emplace_back(index, value);
  }
  ASSERT_EQ(effect.changes.size(), automated.size());
  for (std::size_t i = 0; i < automated.size(); ++i) {
    EXPECT_EQ(effect.changes[i].first, automated[i].first);
    EXPECT_NEAR(effect.changes[i].second, automated[i].second, 1e-5f);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfEdit, EditBracketTest,
                         ::testing::Values(EditCase{"Drag",
                                                    [](VelkoranEditorTest& t) { t.drag(t.bass(), -112); },
                                                    {"begin 2", "automate 2 1", "end 2"}},
                                           EditCase{"DragWithoutMoving",
                                                    [](VelkoranEditorTest& t) { t.drag(t.preGain(), 0); },
                                                    {"begin 0", "end 0"}},
                                           EditCase{"Wheel",
                                                    [](VelkoranEditorTest& t) {
                                                      t.window->hold(0, {423, 150});
                                                      t.editor->onWheel(1.0f);
                                                    },
                                                    {"begin 0", "automate 0 0.6", "end 0"}},
                                           EditCase{"ArrowKey",
                                                    [](VelkoranEditorTest& t) {
                                                      t.frame->setFocusView(t.postGain());
                                                      VstKeyCode down{0, VKEY_DOWN, 0};
                                                      t.editor->onKeyDown(down);
                                                    },
                                                    {"begin 1", "automate 1 0.15", "end 1"}},
                                           EditCase{"ResetToDefault",
                                                    [](VelkoranEditorTest& t) {
                                                      CPoint where{310, 100};
                                                      t.frame->mouse(nullptr, where, kLButton | kControl);
                                                    },
                                                    {"begin 2", "automate 2 0.5", "end 2"}},
                                           EditCase{"MenuPick",
                                                    [](VelkoranEditorTest& t) {
                                                      t.window->popupChoice = 2;
                                                      CPoint where{100, 110};
                                                      std::unique_ptr<CDrawContext> context =
                                                          t.window->createDrawContext();
                                                      t.frame->mouse(context.get(), where, kLButton);
                                                    },
                                                    {"begin 3", "automate 3 2", "end 3"}},
                                           EditCase{"MenuDismissed",
                                                    [](VelkoranEditorTest& t) {
                                                      CPoint where{100, 110};
                                                      std::unique_ptr<CDrawContext> context =
                                                          t.window->createDrawContext();
                                                      t.frame->mouse(context.get(), where, kLButton);
                                                    },
                                                    {"begin 3", "end 3"}}),
                         [](const ::testing::TestParamInfo<EditCase>& info) {
                           return std::string(info.param.name);
                         });

// --- Values from outside: shown on the next idle, never sent back.

TEST_F(VelkoranEditorTest, AHostValueMovesEachSliderOnTheNextIdle) {
  const std::pair<VstInt32, CRect> sliders[] = {
      {2, {293, 78, 333, 203}}, {0, {403, 78, 443, 203}}, {1, {512, 78, 552, 203}}};
  for (const auto& [tag, rect] : sliders) {
    SCOPED_TRACE(tag);
    open();
    const std::vector<std::uint32_t> before = pixelsIn(rect);
    editor->setParameter(tag, 0.125f);
    EXPECT_EQ(pixelsIn(rect), before);  // nothing is drawn by setParameter
    idle();
    EXPECT_EQ(child<CControl>(tag == 2 ? 0 : tag + 1)->getValue(), 0.125f);
    const std::vector<std::uint32_t> shown = pixelsIn(rect);
    EXPECT_NE(shown, before);
    effect.parameters[tag] = 0.125f;
    EXPECT_EQ(pixelsWhenOpenedAfresh(rect), shown);
  }
  EXPECT_TRUE(effect.calls.empty());
  EXPECT_TRUE(effect.changes.empty());
}

TEST_F(VelkoranEditorTest, AHostPresetChangesTheMenuOnTheNextIdle) {
  open();
  const std::vector<std::uint32_t> before = pixelsIn(kPresetMenuRect);
  editor->setParameter(3, 2.0f);
  idle();
  EXPECT_EQ(menu()->getCurrent(), 2);
  const std::vector<std::uint32_t> shown = pixelsIn(kPresetMenuRect);
  EXPECT_NE(shown, before);
  effect.parameters[3] = 2.0f;
  EXPECT_EQ(pixelsWhenOpenedAfresh(kPresetMenuRect), shown);
  EXPECT_TRUE(effect.calls.empty());
}

TEST_F(VelkoranEditorTest, ABurstShowsItsLatestValueOnce) {
  open();
  for (float value : {0.1f, 0.2f, 0.3f}) editor->setParameter(1, value);
  const int contexts = window->drawContexts;
  idle();
  EXPECT_EQ(postGain()->getValue(), 0.3f);
  EXPECT_EQ(window->drawContexts, contexts + 1);  // one redraw for the burst
  postGain()->setValue(0.7f);
  idle();  // the burst was taken: nothing is left to show
  EXPECT_EQ(postGain()->getValue(), 0.7f);
}

TEST_F(VelkoranEditorTest, TheControlUnderEditKeepsItsValueUntilTheEditEnds) {
  open();
  editor->beginEdit(0);
  editor->setParameter(0, 0.9f);
  editor->setParameter(1, 0.9f);
  idle();
  EXPECT_EQ(preGain()->getValue(), 0.5f);
  EXPECT_EQ(postGain()->getValue(), 0.9f);
  editor->endEdit(0);
  idle();
  EXPECT_EQ(preGain()->getValue(), 0.9f);
}

struct OutsideValueCase {
  const char* name;
  VstInt32 index;
  float value;
  float shown;  // the control's value afterwards
};

void PrintTo(const OutsideValueCase& outside, std::ostream* out) { *out << outside.name; }

class OutsideValueTest : public VelkoranEditorTest, public ::testing::WithParamInterface<OutsideValueCase> {};

TEST_P(OutsideValueTest, IsHeldToTheControlOrIgnored) {
  open();
  editor->setParameter(GetParam().index, GetParam().value);
  idle();
  if (GetParam().index == 3) {
    EXPECT_EQ(menu()->getCurrent(), static_cast<std::int32_t>(GetParam().shown));
  } else {
    EXPECT_EQ(preGain()->getValue(), GetParam().shown);
  }
  EXPECT_TRUE(effect.calls.empty());
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(HostValues, OutsideValueTest,
                         ::testing::Values(OutsideValueCase{"GainNaN", 0, kNaN, 0.5f},
                                           OutsideValueCase{"GainInfinite", 0, kInfinity, 0.5f},
                                           OutsideValueCase{"GainAboveOne", 0, 1.5f, 1.0f},
                                           OutsideValueCase{"GainBelowZero", 0, -2.0f, 0.0f},
                                           OutsideValueCase{"PresetFraction", 3, 2.9f, 2.0f},
                                           OutsideValueCase{"PresetPastTheSounds", 3, 7.0f, 1.0f},
                                           OutsideValueCase{"PresetNegative", 3, -1.0f, 1.0f},
                                           OutsideValueCase{"PresetNaN", 3, kNaN, 1.0f},
                                           OutsideValueCase{"PresetHuge", 3, 3e9f, 1.0f},
                                           OutsideValueCase{"IndexPastTheParameters", 4, 0.1f, 0.5f},
                                           OutsideValueCase{"NegativeIndex", -1, 0.1f, 0.5f}),
                         [](const ::testing::TestParamInfo<OutsideValueCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(VelkoranEditorTest, ValuesPostedWhileClosedWaitForTheNextOpenIdle) {
  editor->setParameter(0, 0.2f);
  idle();  // closed: nothing to show, nothing lost
  open();
  EXPECT_EQ(preGain()->getValue(), 0.5f);  // the effect's value at open
  idle();
  EXPECT_EQ(preGain()->getValue(), 0.2f);
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
