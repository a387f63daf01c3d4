#include "editor/VelkoranEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "editor/CZrTextLabel.h"
#include "frame/AudioEffectX.h"
#include "frame/IdleServices.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/CVerticalSlider.h"

namespace {

enum Tag : VstInt32 { kPreGainTag = 0, kPostGainTag = 1, kBassTag = 2, kPresetTag = 3 };
constexpr std::size_t kParameterCount = 4;

constexpr std::int32_t kBackgroundBitmap = 10001;
constexpr std::int32_t kHandleBitmap = 10002;
constexpr std::int16_t kEditorWidth = 619;
constexpr std::int16_t kEditorHeight = 265;

constexpr CRect kBassRect{293, 78, 333, 203};
constexpr CRect kPreGainRect{403, 78, 443, 203};
constexpr CRect kPostGainRect{512, 78, 552, 203};
constexpr std::int32_t kHandleTop = 83;
constexpr std::int32_t kHandleBottom = 195;
constexpr CPoint kHandleOffset{-2, -5};

constexpr CRect kPresetRect{58, 100, 243, 126};
// The menu's text area, left of the skin's arrow: redrawn after a pick.
constexpr CRect kPresetTextRect{58, 100, 226, 126};
constexpr CColor kPresetTextColor{93, 108, 107, 255};
constexpr CColor kPresetFieldColor{162, 177, 179, 255};
// Entry names are copied into a 100-byte field: at most 99 characters.
constexpr std::size_t kEntryField = 100;
constexpr std::size_t kExtensionLength = 4;  // ".xml"

constexpr CRect kValueDisplayRect{243, 83, 272, 97};
constexpr CColor kValueDisplayColor{152, 174, 173, 255};
constexpr CRect kVersionRect{553, 250, 620, 266};
const char* const kVersionText = "Version 1.2";

// The menu text of a description name: without its extension, at most 99
// characters.
std::string entryText(const std::string& name) {
  char field[kEntryField];
  std::size_t length = std::min(name.size(), kEntryField - 1);
  std::memcpy(field, name.data(), length);
  field[length] = '\0';
  std::size_t end = name.size() >= kExtensionLength ? name.size() - kExtensionLength : 0;
  if (end < length) field[end] = '\0';
  return field;
}

// The entry a "Preset" value names: its integer part, or -1 when it names
// none (converting NaN or a value beyond the integers' range is undefined).
std::int32_t entryIndexOf(float value, std::int32_t entries) {
  if (!(value > -1.0f && value < static_cast<float>(entries))) return -1;
  return static_cast<std::int32_t>(value);
}

}  // namespace

VelkoranEditor::VelkoranEditor(AudioEffectX* effect, const std::vector<std::string>* descriptionNames)
    : VelkoranEditor(effect, descriptionNames, IdleServices::system()) {}

VelkoranEditor::VelkoranEditor(AudioEffectX* effect, const std::vector<std::string>* descriptionNames,
                               IdleServices& services)
    : AEffGUIEditor(effect, services), descriptionNames(descriptionNames), postedValues(kParameterCount) {
  rectangle = ERect{0, 0, kEditorHeight, kEditorWidth};
}

VelkoranEditor::~VelkoranEditor() { close(); }

CFrame* VelkoranEditor::getToolkitFrame() const { return static_cast<CFrame*>(frame); }

bool VelkoranEditor::open(void* parentWindow) {
  // A host that opens again without closing gets a fresh frame, not a
  // second window beside a leaked one.
  if (frame) close();
  AEffEditor::open(parentWindow);
  auto* background = new CBitmap(kBackgroundBitmap);
  // The frame's window is exactly the rectangle the host sized its own
  // window for: a wider one would be clipped, a lower one leave a strip.
  CRect frameSize{rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
  auto* toolkitFrame = new CFrame(frameSize, parentWindow, this);
  frame = toolkitFrame;
  toolkitFrame->setBackground(background);
  auto* handle = new CBitmap(kHandleBitmap);
  createSliders(background, handle);
  createPresetMenu();
  handle->forget();
  background->forget();
  bassSlider->setValue(effect->getParameter(kBassTag));
  preGainSlider->setValue(effect->getParameter(kPreGainTag));
  postGainSlider->setValue(effect->getParameter(kPostGainTag));
  createLabels();
  return true;
}

void VelkoranEditor::createSliders(CBitmap* background, CBitmap* handle) {
  auto makeSlider = [&](const CRect& size, VstInt32 tag) {
    auto* slider =
        new CVerticalSlider(size, this, tag, kHandleTop, kHandleBottom, handle, background, size.topLeft());
    slider->setDrawTransparentHandle(true);
    slider->setOffsetHandle(kHandleOffset);
    slider->setFreeClick(false);
    getToolkitFrame()->addView(slider);
    return slider;
  };
  bassSlider = makeSlider(kBassRect, kBassTag);
  preGainSlider = makeSlider(kPreGainRect, kPreGainTag);
  postGainSlider = makeSlider(kPostGainRect, kPostGainTag);
}

void VelkoranEditor::createPresetMenu() {
  presetMenu = new COptionMenu(kPresetRect, this, kPresetTag);
  presetMenu->setTransparency(true);
  presetMenu->setTextTransparency(true);
  presetMenu->setFontColor(kPresetTextColor);
  presetMenu->setBackColor(kPresetFieldColor);
  presetMenu->setFrameColor(kPresetFieldColor);
  presetMenu->setHoriAlign(kLeftText);
  if (descriptionNames) {
    for (const std::string& name : *descriptionNames) presetMenu->addEntry(entryText(name).c_str());
  }
  presetMenu->setFont(kNormalFontBig);
  presetMenu->setCurrent(entryIndexOf(effect->getParameter(kPresetTag), presetMenu->getNbEntries()));
  getToolkitFrame()->addView(presetMenu);
}

void VelkoranEditor::createLabels() {
  valueDisplay = new CZrTextLabel(kValueDisplayRect);
  valueDisplay->setBackColor(kValueDisplayColor);
  valueDisplay->setFrameColor(kValueDisplayColor);
  valueDisplay->setFontColor(kPresetTextColor);
  getToolkitFrame()->addView(valueDisplay);
  versionLabel = new CZrTextLabel(kVersionRect);
  versionLabel->text = kVersionText;
  getToolkitFrame()->addView(versionLabel);
}

void VelkoranEditor::close() {
  if (frame) frame->release();
  frame = nullptr;
  bassSlider = preGainSlider = postGainSlider = nullptr;
  presetMenu = nullptr;
  valueDisplay = versionLabel = nullptr;
  AEffEditor::close();
}

void VelkoranEditor::idle() {
  AEffGUIEditor::idle();
  if (getToolkitFrame()) takePostedValues();
}

void VelkoranEditor::setParameter(VstInt32 index, float value) { postedValues.post(index, value); }

void VelkoranEditor::takePostedValues() {
  for (VstInt32 tag = 0; tag < static_cast<VstInt32>(postedValues.size()); ++tag) {
    if (tag == editedTag) continue;
    const std::optional<float> value = postedValues.take(tag);
    if (!value || !std::isfinite(*value)) continue;
    if (tag == kPresetTag) {
      showPresetValue(*value);
    } else {
      showSliderValue(sliderOf(tag), *value);
    }
  }
}

CVerticalSlider* VelkoranEditor::sliderOf(VstInt32 tag) const {
  switch (tag) {
    case kPreGainTag:
      return preGainSlider;
    case kPostGainTag:
      return postGainSlider;
    case kBassTag:
      return bassSlider;
    default:
      return nullptr;
  }
}

void VelkoranEditor::showSliderValue(CVerticalSlider* slider, float value) {
  if (!slider) return;
  slider->setValue(std::clamp(value, slider->getMin(), slider->getMax()));
  if (slider->isDirty()) redrawIfAttached(slider);
}

void VelkoranEditor::showPresetValue(float value) {
  const std::int32_t index = entryIndexOf(value, presetMenu->getNbEntries());
  if (index != presetMenu->getCurrent() && presetMenu->setCurrent(index)) redrawPresetArea();
}

void VelkoranEditor::beginEdit(VstInt32 index) {
  editedTag = index;
  showValueDisplay(true);
  AEffGUIEditor::beginEdit(index);
}

void VelkoranEditor::endEdit(VstInt32 index) {
  AEffGUIEditor::endEdit(index);
  showValueDisplay(false);
  editedTag = -1;
}

void VelkoranEditor::controlChanged(CDrawContext*, CControl* control) {
  VstInt32 tag = control->getTag();
  float value = control->getValue();
  effect->setParameterAutomated(tag, value);
  char text[32];
  switch (tag) {
    case kBassTag:
      std::snprintf(text, sizeof text, "%d", static_cast<int>(value * 100.0f - 50.0f));
      showText(text);
      break;
    case kPresetTag:
      redrawPresetArea();
      break;
    default:
      std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
      showText(text);
      break;
  }
  redrawIfAttached(control);
  redrawIfAttached(valueDisplay);
}

void VelkoranEditor::showText(const char* text) {
  if (!valueDisplay) return;
  valueDisplay->text = text;
  valueDisplay->setDirty(true);
}

void VelkoranEditor::showValueDisplay(bool show) {
  CFrame* toolkitFrame = getToolkitFrame();
  if (!toolkitFrame || !valueDisplay) return;
  if (auto* current = dynamic_cast<CControl*>(toolkitFrame->getCurrentView())) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(current->getValue()));
    valueDisplay->text = text;
  }
  valueDisplay->shown = show;
  valueDisplay->setDirty(true);
  redrawIfAttached(valueDisplay);
}

// The menu's text lies over the skin and other views: the whole frame is
// redrawn at once.
void VelkoranEditor::redrawPresetArea() {
  if (CFrame* toolkitFrame = getToolkitFrame()) {
    toolkitFrame->markChildrenDirtyIn(kPresetTextRect);
    toolkitFrame->setDirty(true);
    toolkitFrame->redrawView(toolkitFrame);
  }
}

void VelkoranEditor::redrawIfAttached(CView* view) {
  if (view && view->getFrame()) view->getFrame()->redrawView(view);
}
