#include "render/SoundAnalysis.h"

#include <cstdio>
#include <memory>
#include <string>

#include "render/AliasingMeasurement.h"
#include "render/CharacterMeasurement.h"
#include "render/CharacterSheetPicture.h"
#include "render/EffectSetup.h"
#include "render/FactorOneArchive.h"
#include "render/ParameterLookup.h"

namespace {

std::string soundTitle(EffectModule& module, const EffectSettings& settings) {
  std::unique_ptr<HostedEffect> effect = module.createEffect();
  effect->open();
  applySettings(*effect, settings);
  std::string title = effect->effectName();
  const std::optional<VstInt32> preset = findParameter(*effect, "Preset");
  if (preset) title += (title.empty() ? "" : ": ") + effect->parameterDisplay(*preset);
  return title;
}

std::string distortionText(double fraction) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g %%", 100.0 * fraction);
  return text;
}

}  // namespace

CharacterSheet analyseSound(EffectModule& module, const EffectSettings& settings, float sampleRate,
                            int blockSize) {
  CharacterSheet sheet = measureCharacter(module, settings, sampleRate, blockSize);
  sheet.title = soundTitle(module, settings);
  if (FactorOneArchive::existsIn(module.archiveDirectory())) {
    const FactorOneArchive plainArchive(module.archiveDirectory());
    EffectModule plain(module.path(), plainArchive.directory());
    sheet.aliasingAtFactorOne = measureAliasingCurve(plain, settings, sampleRate, blockSize);
  }
  return sheet;
}

void writeSoundAnalysis(const RenderOptions& options, EffectModule& module, RenderConsole& console) {
  const EffectSettings settings = resolveModuleSettings(module, options.preset, options.parameters);
  const CharacterSheet sheet = analyseSound(
      module, settings, options.sampleRate.value_or(RenderOptions::kDefaultSampleRate), options.blockSize);
  writeCharacterSheet(options.analysisPath, sheet);
  console.out << "wrote " << options.analysisPath << ": " << sheet.title << ", THD "
              << distortionText(sheet.distortion) << " for a 1 kHz sine at -12 dBFS\n";
}
