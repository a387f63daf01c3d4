#include "render/DemoRun.h"

#include <filesystem>
#include <iomanip>
#include <string>
#include <vector>

#include "render/AudioFileWriter.h"
#include "render/CharacterSheetPicture.h"
#include "render/DemoFileName.h"
#include "render/EditorPicture.h"
#include "render/EffectSetup.h"
#include "render/GuitarRiff.h"
#include "render/LevelMeter.h"
#include "render/OutputDirectory.h"
#include "render/PlotWriter.h"
#include "render/RenderError.h"
#include "render/RenderLoop.h"
#include "render/SoundAnalysis.h"

namespace {

struct DemoContext {
  const RenderOptions& options;
  EffectModule& module;
  RenderConsole& console;
  std::filesystem::path directory;
  float sampleRate;
  std::vector<float> riff;
};

void writeMono(const DemoContext& demo, const std::string& fileName, const std::vector<float>& samples) {
  AudioFileWriter writer((demo.directory / fileName).string(), 1, static_cast<int>(demo.sampleRate),
                         demo.options.encoding);
  writer.write(samples.data(), static_cast<std::int64_t>(samples.size()));
  writer.commit();
}

void reportLevels(const DemoContext& demo, const std::string& fileName, const std::string& what,
                  const std::vector<float>& samples) {
  LevelMeter meter;
  meter.add(samples.data(), static_cast<std::int64_t>(samples.size()));
  demo.console.out << std::left << std::setw(32) << fileName << std::setw(28) << what << std::right;
  if (meter.nonFiniteSamples() > 0) {
    demo.console.out << levelsText(meter) << '\n';
    return;
  }
  demo.console.out << "peak " << std::setw(7) << dbfsText(meter.peakDbfs()) << " dBFS   RMS " << std::setw(7)
                   << dbfsText(meter.rmsDbfs()) << " dBFS\n";
}

std::vector<int> chosenDescriptions(const DemoContext& demo, const PresetCatalogue& catalogue) {
  if (catalogue.descriptions().empty()) {
    throw RenderError("module " + demo.module.path() + " lists no graph descriptions");
  }
  if (demo.options.preset && !demo.options.everyPreset()) return {catalogue.select(*demo.options.preset)};
  return renderableDescriptions(catalogue, demo.console.err);
}

void renderDescription(const DemoContext& demo, const PresetCatalogue& catalogue, EffectSettings settings,
                       int index) {
  const std::string& name = catalogue.descriptions()[static_cast<std::size_t>(index)].name;
  settings.preset = EffectSettings::Value{*catalogue.parameterIndex(), static_cast<float>(index)};
  ChannelEffects effects =
      startChannelEffects(demo.module, 1, demo.sampleRate, demo.options.blockSize, settings);
  const std::vector<float> output = renderSamples(
      effects, demo.riff, TailRule::at(demo.sampleRate, effects.reportedTail(), demo.options.longestTail));
  const std::string stem = demoFileStem(index, name);
  writeMono(demo, stem + ".wav", output);
  writeRenderPlot((demo.directory / (stem + ".png")).string(), {name, demo.riff, output, demo.sampleRate});
  writeCharacterSheet((demo.directory / (stem + "-sheet.png")).string(),
                      analyseSound(demo.module, settings, demo.sampleRate, demo.options.blockSize));
  reportLevels(demo, stem + ".wav", name, output);
}

}  // namespace

void runDemo(const RenderOptions& options, EffectModule& module, RenderConsole& console) {
  const float sampleRate = options.sampleRate.value_or(RenderOptions::kDefaultSampleRate);
  DemoContext demo{
      options, module, console, options.demoDirectory, sampleRate, synthesiseGuitarRiff(sampleRate)};
  const EffectSettings settings = resolveModuleSettings(module, std::nullopt, options.parameters);
  const PresetCatalogue catalogue = probeModuleCatalogue(module);
  const std::vector<int> descriptions = chosenDescriptions(demo, catalogue);
  prepareOutputDirectory(demo.directory);
  writeMono(demo, "riff.wav", demo.riff);
  reportLevels(demo, "riff.wav", "(input)", demo.riff);
  for (const int index : descriptions) renderDescription(demo, catalogue, settings, index);
  writeEditorPicture(options, module.archiveDirectory(),
                     (std::filesystem::path(demo.directory) / "editor.png").string());
}
