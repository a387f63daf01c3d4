// Rendering one audio file through the module.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "render/EffectModule.h"
#include "render/EffectSettings.h"
#include "render/RenderOptions.h"

struct FileJob {
  std::string inputPath;
  std::string outputPath;
  EffectSettings settings;
  // When set, a plot of the first channel's input and output (see
  // writeRenderPlot) titled plotTitle.
  std::string plotPath;
  std::string plotTitle;
};

// What a finished render tells its user.
struct FileReport {
  std::string summary;
  std::vector<std::string> warnings;
};

// Told after every block the input frames rendered so far, the frames the
// input holds (-1 when its format cannot tell) and its sample rate; may be
// empty.
using FileProgress = std::function<void(std::int64_t done, std::int64_t total, int sampleRate)>;

// Renders the job's input into its output: one effect instance per channel
// at the file's sample rate, the input followed by the effect's tail until
// it decays. The output appears only when complete. Throws RenderError for
// bad input (unreadable, an unusable sample rate, samples that are not
// finite) or an unwritable output. Safe to run for several jobs at once.
FileReport renderFile(const FileJob& job, const RenderOptions& options, EffectModule& module,
                      const FileProgress& progress);

// Throws RenderError when OUTPUT cannot be used: a name other than .wav or
// .flac, or the INPUT file itself. "-" (a standard stream) passes. Checked before the module is loaded.
void checkRenderOutput(const std::string& inputPath, const std::string& outputPath);
