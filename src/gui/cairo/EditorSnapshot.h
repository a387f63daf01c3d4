// A picture of an editor, drawn headless.
#pragma once

#include <string>

class AEffGUIEditor;

// Opens the closed editor without a window, draws it, writes its editor
// rectangle as a PNG file and closes it again. False, with no file left
// behind, when the editor is open, its frame is not headless or the file
// cannot be written.
bool writeEditorSnapshot(AEffGUIEditor& editor, const std::string& pngPath);
