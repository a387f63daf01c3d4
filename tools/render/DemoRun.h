// torvix-render --demo: the riff through every description.
#pragma once

#include "render/EffectModule.h"
#include "render/RenderConsole.h"
#include "render/RenderOptions.h"

// Synthesises the guitar riff at the requested rate (44.1 kHz by default),
// writes it as riff.wav into options.demoDirectory (created if missing),
// then renders it through each description the module lists (only the
// requested one with --preset), each through a fresh instance with the
// requested parameters, into NN-name.wav with a plot NN-name.png and the
// sound's character sheet NN-name-sheet.png, printing each render's peak and
// RMS level. Throws RenderError on any failure; files already finished stay.
void runDemo(const RenderOptions& options, EffectModule& module, RenderConsole& console);
