#include "render/FileRender.h"

#include <filesystem>
#include <optional>
#include <string>

#include "render/AudioFileReader.h"
#include "render/AudioFileWriter.h"
#include "render/EffectSetup.h"
#include "render/LevelMeter.h"
#include "render/ProgressBar.h"
#include "render/RenderError.h"
#include "render/RenderLoop.h"

void checkRenderOutput(const RenderOptions& options) {
  checkAudioOutputName(options.outputPath);
  std::error_code error;
  if (std::filesystem::equivalent(options.inputPath, options.outputPath, error)) {
    throw RenderError("cannot write " + options.outputPath + ": it is the input file");
  }
}

void renderFile(const RenderOptions& options, EffectModule& module, RenderConsole& console) {
  AudioFileReader reader(options.inputPath);
  const EffectSettings settings = resolveModuleSettings(module, options.preset, options.parameters);
  ChannelEffects effects = startChannelEffects(
      module, reader.channels(), static_cast<float>(reader.sampleRate()), options.blockSize, settings);
  AudioFileWriter writer(options.outputPath, reader.channels(), reader.sampleRate(), options.encoding);

  std::optional<ProgressBar> progressBar;
  const std::int64_t expected = reader.frames() < 0 ? -1 : reader.frames() + effects.tailFrames();
  if (console.progressOnErr && expected >= 0 && worthAProgressBar(expected, reader.sampleRate())) {
    progressBar.emplace(console.err, expected);
  }
  LevelMeter meter;
  RenderStreams streams{[&](float* block, std::int64_t count) { return reader.read(block, count); },
                        [&](const float* block, std::int64_t frames) {
                          writer.write(block, frames);
                          meter.add(block, frames * reader.channels());
                        },
                        [&](std::int64_t written) {
                          if (progressBar) progressBar->update(written);
                        }};
  const std::int64_t written = renderThrough(effects, streams);
  writer.commit();
  if (progressBar) progressBar->finish();

  console.out << "wrote " << options.outputPath << ": " << written << " frames, " << reader.channels()
              << (reader.channels() == 1 ? " channel" : " channels") << " at " << reader.sampleRate()
              << " Hz (tail " << effects.tailFrames() << "), peak " << dbfsText(meter.peakDbfs())
              << " dBFS, RMS " << dbfsText(meter.rmsDbfs()) << " dBFS\n";
}
