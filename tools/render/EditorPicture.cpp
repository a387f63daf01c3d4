#include "render/EditorPicture.h"

#include <memory>

#include "effect/ZrVelkoran.h"
#include "frame/AEffGUIEditor.h"
#include "gui/cairo/EditorSnapshot.h"
#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "render/EffectSettings.h"
#include "render/RenderError.h"

namespace {

// The editor is drawn by this process, so the effect is created here rather
// than through the module; its host reports the directory of the archive.
std::unique_ptr<HostedEffect> createInProcess(HostCallback& callback) {
  HostCallback::EntryScope scope(callback);
  auto* effect = new ZrVelkoran(&HostCallback::dispatch);
  callback.adopt(effect->getAeffect());
  return std::make_unique<HostedEffect>(effect->getAeffect());
}

}  // namespace

void writeEditorPicture(const RenderOptions& options, const std::string& archiveDirectory,
                        const std::string& pngPath) {
  HostCallback callback;
  callback.setDirectory(archiveDirectory);
  std::unique_ptr<HostedEffect> effect = createInProcess(callback);
  applySettings(*effect, resolveSettings(*effect, archiveDirectory, options.preset, options.parameters));
  auto* plugin = static_cast<ZrVelkoran*>(effect->record()->object);
  auto* editor = static_cast<AEffGUIEditor*>(plugin->getEditor());
  if (!editor || !writeEditorSnapshot(*editor, pngPath)) {
    throw RenderError("cannot write the editor picture " + pngPath);
  }
}
