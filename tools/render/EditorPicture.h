// torvix-render --snapshot: a picture of the plug-in's editor.
#pragma once

#include <string>

#include "render/RenderOptions.h"

// Creates the plug-in's effect in this process, on the archive in
// archiveDirectory, applies the requested preset and parameters, and writes what
// its editor draws in the editor rectangle (619 x 265) as a PNG file at
// pngPath. Throws RenderError when the picture cannot be made; no partial
// file is left then.
void writeEditorPicture(const RenderOptions& options, const std::string& archiveDirectory,
                        const std::string& pngPath);
