// Rendering one audio file through the module.
#pragma once

#include "render/EffectModule.h"
#include "render/RenderConsole.h"
#include "render/RenderOptions.h"

// Renders options.inputPath into options.outputPath: one effect instance per
// channel at the file's sample rate, the input followed by the effect's tail.
// The output appears only when complete; a summary line goes to out. Throws
// RenderError for bad input, settings or output.
void renderFile(const RenderOptions& options, EffectModule& module, RenderConsole& console);

// Throws RenderError when OUTPUT cannot be used: a name other than .wav or
// .flac, or the INPUT file itself. Checked before the module is loaded.
void checkRenderOutput(const RenderOptions& options);
