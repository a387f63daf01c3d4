// torvix-render --analyse: a sound's character sheet.
#pragma once

#include "render/CharacterSheet.h"
#include "render/EffectModule.h"
#include "render/EffectSettings.h"
#include "render/RenderConsole.h"
#include "render/RenderOptions.h"

// Measures the sound the settings choose, titled with the effect's name and
// its "Preset" display where it has one, with the aliasing of the same
// description at oversampling 1 beside it (through a copy of the archive).
CharacterSheet analyseSound(EffectModule& module, const EffectSettings& settings, float sampleRate,
                            int blockSize);

// Measures the requested preset and parameters at the requested rate (44.1
// kHz by default) into options.analysisPath, and prints where it went with
// the distortion. Throws RenderError on any failure, leaving no file.
void writeSoundAnalysis(const RenderOptions& options, EffectModule& module, RenderConsole& console);
