#include "Lv2TestHost.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>

#include <cstdarg>
#include <cstdio>

Lv2TestHost::Lv2TestHost(const std::filesystem::path& directory)
    : world(lilv_world_new()),
      mapData{this, &Lv2TestHost::mapUri},
      mapEntry{LV2_URID__map, &mapData},
      logData{this, &Lv2TestHost::logPrintf, &Lv2TestHost::logVprintf},
      logEntry{LV2_LOG__log, &logData},
      optionsEntry{LV2_OPTIONS__options, options} {
  const std::string uri = "file://" + directory.string() + "/";
  LilvNode* bundle = lilv_new_uri(world, uri.c_str());
  lilv_world_load_bundle(world, bundle);
  lilv_node_free(bundle);
  LilvNode* pluginUri = lilv_new_uri(world, "urn:brelvanix:torvix-distortion");
  found = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), pluginUri);
  lilv_node_free(pluginUri);
}

Lv2TestHost::~Lv2TestHost() { lilv_world_free(world); }

const LV2_Feature* Lv2TestHost::optionsFeature(std::int32_t maxBlockLength) {
  blockLength = maxBlockLength;
  options[0] = {LV2_OPTIONS_INSTANCE, 0,           map(LV2_BUF_SIZE__maxBlockLength), sizeof blockLength,
                map(LV2_ATOM__Int),   &blockLength};
  options[1] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
  return &optionsEntry;
}

LV2_URID Lv2TestHost::map(const char* uri) { return mapUri(this, uri); }

std::string Lv2TestHost::uriOf(LV2_URID id) const {
  const std::lock_guard<std::mutex> lock(guard);
  for (const auto& [uri, mapped] : ids) {
    if (mapped == id) return uri;
  }
  return {};
}

std::vector<std::string> Lv2TestHost::logged() const {
  const std::lock_guard<std::mutex> lock(guard);
  return messages;
}

LV2_URID Lv2TestHost::mapUri(LV2_URID_Map_Handle handle, const char* uri) {
  auto* self = static_cast<Lv2TestHost*>(handle);
  const std::lock_guard<std::mutex> lock(self->guard);
  const auto [entry, added] = self->ids.emplace(uri, static_cast<LV2_URID>(self->ids.size() + 1));
  return entry->second;
}

int Lv2TestHost::logPrintf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int written = logVprintf(handle, type, format, arguments);
  va_end(arguments);
  return written;
}

int Lv2TestHost::logVprintf(LV2_Log_Handle handle, LV2_URID, const char* format, va_list arguments) {
  auto* self = static_cast<Lv2TestHost*>(handle);
  char text[1024];
  const int written = std::vsnprintf(text, sizeof text, format, arguments);
  const std::lock_guard<std::mutex> lock(self->guard);
  self->messages.emplace_back(text);
  return written;
}
