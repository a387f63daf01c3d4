// Rendering from standard input or to standard output, named "-".
#pragma once

#include "render/EffectModule.h"
#include "render/EffectSettings.h"
#include "render/RenderConsole.h"
#include "render/RenderOptions.h"

// Whether INPUT or OUTPUT is "-".
bool rendersStandardStreams(const RenderOptions& options);

// Renders INPUT into OUTPUT where either is "-". Standard input (console.in)
// is read whole into a scratch file first, since audio formats are read
// with seeks; standard output gets a WAV file, written to a scratch file and
// copied to console.out only once complete, with the summary going to err
// instead. Messages say "standard input" and "standard output"; there is no
// progress bar. Returns the number of failed renders (0 or 1).
int renderStandardStreams(const RenderOptions& options, const EffectSettings& settings, EffectModule& module,
                          RenderConsole& console);
