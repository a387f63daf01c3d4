// The LV2 UI module's entry: the descriptor of the UI
// urn:brelvanix:torvix-distortion#ui and the C functions a host calls.
#include <lv2/ui/ui.h>

#include <cstring>
#include <memory>
#include <new>

#include "lv2/ui/Lv2EditorUi.h"

namespace {

constexpr const char* kUiUri = "urn:brelvanix:torvix-distortion#ui";

Lv2EditorUi* uiOf(LV2UI_Handle handle) { return static_cast<Lv2EditorUi*>(handle); }

// Host's UI thread. Nothing is left behind when the editor cannot be shown
// (no ui:parent, no X server, memory exhausted).
LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char*, const char* bundlePath,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
  if (!write || !widget) return nullptr;
  try {
    auto ui = std::make_unique<Lv2EditorUi>(bundlePath, write, controller, features);
    *widget = ui->open();
    return *widget ? ui.release() : nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void cleanup(LV2UI_Handle handle) { delete uiOf(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
  uiOf(handle)->portEvent(port, bufferSize, format, buffer);
}

int idle(LV2UI_Handle handle) { return uiOf(handle)->idle(); }

const LV2UI_Idle_Interface idleInterface{idle};

const void* extensionData(const char* uri) {
  return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idleInterface : nullptr;
}

const LV2UI_Descriptor descriptor{kUiUri, instantiate, cleanup, portEvent, extensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &descriptor : nullptr;
}
