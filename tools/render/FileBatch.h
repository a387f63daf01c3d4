// Rendering several files at once.
#pragma once

#include <vector>

#include "render/EffectModule.h"
#include "render/FileRender.h"
#include "render/RenderConsole.h"
#include "render/RenderOptions.h"

// Renders the jobs on as many threads as the machine has cores, each job
// with its own effect instances, under one progress bar. Then reports in
// the jobs' order: each summary on out, each warning and each failure as
// one line on err. A failed job leaves no output and does not stop the
// others. Returns the number of failed jobs; throws RenderError when the
// user interrupted the run.
int renderFiles(const std::vector<FileJob>& jobs, const RenderOptions& options, EffectModule& module,
                RenderConsole& console);

// One way batch mode renders every input: with these settings, into a file
// whose name gets this suffix, with a plot when it has a title.
struct BatchVariant {
  std::string nameSuffix;
  EffectSettings settings;
  std::string plotTitle;
};

// Batch mode's jobs: every input in every variant into the output directory
// under its own file name and the variant's suffix, a .flac staying .flac
// and anything else becoming .wav; a plot beside it as .png. Throws
// RenderError when two jobs would write the same file.
std::vector<FileJob> batchJobs(const RenderOptions& options, const std::vector<BatchVariant>& variants);
