#include "pack/FollowedWindowCheck.h"

#include <optional>

#include "graph/AveragerAN.h"
#include "graph/DescriptionText.h"
#include "graph/DividerAN.h"

namespace {

// The largest value that value which of node can take, and what gives it; no value when it
// has no bound. Effects keep the settings of their presets while a graph runs, so an effect's
// parameter is what it holds now.
struct Largest {
  std::optional<float> value;
  std::string what;
};

Largest largestValue(const AudioNode& node, VstInt32 which);

Largest largestParameter(const AudioNode& node, VstInt32 index) {
  const ParamBinding* binding = node.bindingFor(index);
  if (!binding) return {1.0f, "the default 1"};
  if (!binding->source) return {binding->value, "the constant " + numberText(binding->value)};
  return largestValue(*binding->source, binding->get);
}

Largest largestValue(const AudioNode& node, VstInt32 which) {
  if (dynamic_cast<const AveragerAN*>(&node))
    return which == AveragerAN::kLevel ? Largest{std::nullopt, "a level, which has no bound"}
                                       : Largest{1.0f, ""};
  if (const auto* divider = dynamic_cast<const DividerAN*>(&node))
    return which == DividerAN::kRatio ? Largest{divider->maxRatio, "a ratio"} : largestParameter(node, which);
  if (node.effect) {
    const float setting = node.effect->getParameter(which);
    return {setting, "an effect's setting of " + numberText(setting)};
  }
  return {0.0f, ""};
}

}  // namespace

void checkFollowedWindows(const BuiltDescription& built, const std::string& source, PackWarnings& warnings) {
  constexpr float kBound = static_cast<float>(AveragerAN::kMaxFollowedWindow);
  for (const auto& [node, origin] : built.report.origins) {
    const auto* averager = dynamic_cast<const AveragerAN*>(node);
    if (!averager || averager->constantWindow()) continue;
    const Largest largest = largestParameter(*averager, 0);
    if (largest.value && !(*largest.value > kBound)) continue;
    warnings.add(source, origin.line,
                 "the averager's window follows " + largest.what + ": a window longer than " +
                     std::to_string(AveragerAN::kMaxFollowedWindow) + " samples is held to " +
                     std::to_string(AveragerAN::kMaxFollowedWindow));
  }
}
