// Measuring a sound's character sheet through the module.
#pragma once

#include <string>

#include "render/CharacterSheet.h"
#include "render/EffectModule.h"
#include "render/EffectSettings.h"

// Plays the test signals of a character sheet (a low-level sine sweep, a
// steady 1 kHz sine, the same sine rising in steps from -60 to 0 dBFS and a
// plucked string, -12 dBFS sines from 100 Hz to 5 kHz for the aliasing),
// each through a fresh instance of the module's effect with the settings,
// at the rate and block size, and measures the sheet (all but the aliasing
// at oversampling 1).
// Throws RenderError as the effect setup does.
CharacterSheet measureCharacter(EffectModule& module, const EffectSettings& settings, float sampleRate,
                                int blockSize);
