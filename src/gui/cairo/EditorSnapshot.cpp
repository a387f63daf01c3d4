#include "gui/cairo/EditorSnapshot.h"

#include <cstdio>

#include "frame/AEffGUIEditor.h"
#include "gui/CFrame.h"
#include "gui/cairo/ImageFrameWindow.h"

namespace {

bool writeFrame(AEffGUIEditor& editor, const std::string& pngPath) {
  auto* frame = static_cast<CFrame*>(editor.getFrame());
  auto* image = frame ? dynamic_cast<ImageFrameWindow*>(&frame->getWindow()) : nullptr;
  ERect* rect = nullptr;
  if (!image || !editor.getRect(&rect) || !rect) return false;
  frame->redrawView(frame);
  std::string partial = pngPath + ".partial";
  if (!image->writePng(partial, {rect->left, rect->top, rect->right, rect->bottom}) ||
      std::rename(partial.c_str(), pngPath.c_str()) != 0) {
    std::remove(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool writeEditorSnapshot(AEffGUIEditor& editor, const std::string& pngPath) {
  if (editor.getFrame() || editor.isOpen()) return false;
  editor.open(nullptr);
  bool written = writeFrame(editor, pngPath);
  editor.close();
  return written;
}
