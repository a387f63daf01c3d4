#include "lv2/HostFeatures.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>

#include <cstring>

namespace {

// Some hosts (lv2file 0.95) list a feature without URI: it is skipped.
const void* featureData(const LV2_Feature* const* features, const char* uri) {
  for (const LV2_Feature* const* feature = features; feature && *feature; ++feature) {
    if ((*feature)->URI && std::strcmp((*feature)->URI, uri) == 0) return (*feature)->data;
  }
  return nullptr;
}

}  // namespace

HostFeatures::HostFeatures(const LV2_Feature* const* features)
    : uridMap(static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map))),
      workerSchedule(static_cast<const LV2_Worker_Schedule*>(featureData(features, LV2_WORKER__schedule))),
      hostLog(static_cast<const LV2_Log_Log*>(featureData(features, LV2_LOG__log))) {
  readOptions(featureData(features, LV2_OPTIONS__options));
}

// Options name their keys and types by URID: without a map they cannot be read.
void HostFeatures::readOptions(const void* options) {
  if (!options || !uridMap) return;
  const LV2_URID maxBlock = uridMap->map(uridMap->handle, LV2_BUF_SIZE__maxBlockLength);
  const LV2_URID atomInt = uridMap->map(uridMap->handle, LV2_ATOM__Int);
  for (const auto* option = static_cast<const LV2_Options_Option*>(options); option->key; ++option) {
    if (option->key == maxBlock && option->type == atomInt && option->size == sizeof(std::int32_t) &&
        option->value) {
      longestBlock = *static_cast<const std::int32_t*>(option->value);
    }
  }
}
