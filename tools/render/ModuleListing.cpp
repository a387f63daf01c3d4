#include "render/ModuleListing.h"

#include <iomanip>
#include <memory>
#include <string>

#include "render/ParameterLookup.h"
#include "render/PresetCatalogue.h"

namespace {

std::string uniqueIdText(VstInt32 id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xffu);
    text += (c >= ' ' && c <= '~') ? c : '?';
  }
  return text;
}

void listIdentity(EffectModule& module, HostedEffect& effect, std::ostream& out) {
  const AEffect* record = effect.record();
  out << "Module:     " << module.path() << '\n'
      << "Effect:     " << effect.effectName() << '\n'
      << "Vendor:     " << effect.vendorString() << '\n'
      << "Product:    " << effect.productString() << '\n'
      << "Unique ID:  " << uniqueIdText(record->uniqueID) << '\n'
      << "Channels:   " << record->numInputs << " in, " << record->numOutputs << " out\n"
      << "Tail:       " << effect.tailSize() << " samples\n";
}

void listParameters(HostedEffect& effect, std::ostream& out) {
  out << "Parameters:\n";
  for (VstInt32 index = 0; index < parameterCount(effect); ++index) {
    const std::string label = effect.parameterLabel(index);
    out << "  " << index << "  " << std::left << std::setw(12) << effect.parameterName(index) << std::right
        << " value " << std::fixed << std::setprecision(6) << effect.getParameter(index) << "  display \""
        << effect.parameterDisplay(index) << '"' << (label.empty() ? "" : " " + label) << '\n';
  }
}

void listDescriptions(EffectModule& module, HostedEffect& effect, std::ostream& out) {
  const PresetCatalogue catalogue = PresetCatalogue::probe(effect, module.archiveDirectory());
  const std::vector<ModuleDescription>& descriptions = catalogue.descriptions();
  out << "Descriptions:";
  if (descriptions.empty()) out << " none";
  out << '\n';
  for (std::size_t index = 0; index < descriptions.size(); ++index) {
    const ModuleDescription& description = descriptions[index];
    out << "  " << index << "  " << description.name;
    if (!description.refusal.empty()) out << "  (refused by the plug-in: " << description.refusal << ')';
    out << '\n';
  }
}

}  // namespace

void listModule(EffectModule& module, std::ostream& out) {
  std::unique_ptr<HostedEffect> effect = module.createEffect();
  effect->open();
  listIdentity(module, *effect, out);
  listParameters(*effect, out);
  listDescriptions(module, *effect, out);
}
