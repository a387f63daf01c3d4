#include "lv2/ui/Lv2EditorUi.h"

#include <cstring>

#include "editor/VelkoranEditor.h"
#include "effect/ArchiveDescriptions.h"
#include "effect/ArchiveSession.h"
#include "effect/ModuleDirectory.h"
#include "gui/CFrame.h"
#include "lv2/ui/Lv2UiPortEffect.h"

namespace {

// The feature's data, or nullptr when the host does not offer it.
void* featureData(const LV2_Feature* const* features, const char* uri) {
  for (const LV2_Feature* const* feature = features; feature && *feature; ++feature) {
    if (std::strcmp((*feature)->URI, uri) == 0) return (*feature)->data;
  }
  return nullptr;
}

}  // namespace

Lv2EditorUi::Lv2EditorUi(const char* bundlePath, LV2UI_Write_Function write, LV2UI_Controller controller,
                         const LV2_Feature* const* features)
    : soundNames(listSounds(bundlePath)),
      parentWindow(featureData(features, LV2_UI__parent)),
      resize(static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize))),
      effect(std::make_unique<Lv2UiPortEffect>(
          write, controller, static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch)))),
      editor(new VelkoranEditor(effect.get(), &soundNames)) {}

// The effect deletes the editor, which closes its window first.
Lv2EditorUi::~Lv2EditorUi() = default;

// The same listing as the effect's, in the same order, so that a menu entry's
// index is the sound the plug-in plays for it. The archive code looks in the
// module directory, which in this UI module is the bundle directory.
std::vector<std::string> Lv2EditorUi::listSounds(const char* bundlePath) {
  std::string directory = bundlePath ? bundlePath : "";
  if (!directory.empty() && directory.back() != '/') directory += '/';
  setModuleDirectory(directory);
  const ArchiveSession session;
  return listArchiveDescriptions();
}

LV2UI_Widget Lv2EditorUi::open() {
  if (!parentWindow || !editor->open(parentWindow)) return nullptr;
  void* window = editor->getToolkitFrame()->getWindow().systemWindow();
  if (!window) {
    editor->close();
    return nullptr;
  }
  ERect* rect = nullptr;
  editor->getRect(&rect);
  if (resize) resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
  return window;
}

void Lv2EditorUi::portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
  if (format != 0 || bufferSize != sizeof(float) || !buffer) return;
  float value;
  std::memcpy(&value, buffer, sizeof value);
  effect->setParameter(static_cast<VstInt32>(port), value);
}

int Lv2EditorUi::idle() {
  editor->idle();
  return 0;
}
