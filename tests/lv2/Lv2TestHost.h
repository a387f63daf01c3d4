// A small LV2 host over lilv for tests: one bundle, its plug-in, the
// features a host passes (URID map, log, options).
#pragma once

#include <lilv/lilv.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class Lv2TestHost {
 public:
  // Loads only the bundle at directory, so bundles holding the same plug-in
  // (copies with another archive) can be tested one after another.
  explicit Lv2TestHost(const std::filesystem::path& directory);
  ~Lv2TestHost();
  Lv2TestHost(const Lv2TestHost&) = delete;
  Lv2TestHost& operator=(const Lv2TestHost&) = delete;

  // The plug-in urn:brelvanix:torvix-distortion, or null.
  const LilvPlugin* plugin() const { return found; }

  const LV2_Feature* mapFeature() const { return &mapEntry; }
  const LV2_Feature* logFeature() const { return &logEntry; }
  // Options announcing maxBlockLength.
  const LV2_Feature* optionsFeature(std::int32_t maxBlockLength);

  LV2_URID map(const char* uri);
  // The URI mapped to id, empty when none was.
  std::string uriOf(LV2_URID id) const;
  // Every line the plug-in logged.
  std::vector<std::string> logged() const;

 private:
  static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri);
  static int logPrintf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...);
  static int logVprintf(LV2_Log_Handle handle, LV2_URID type, const char* format, va_list arguments);

  LilvWorld* world;
  const LilvPlugin* found = nullptr;
  mutable std::mutex guard;
  std::unordered_map<std::string, LV2_URID> ids;
  std::vector<std::string> messages;
  LV2_URID_Map mapData;
  LV2_Feature mapEntry;
  LV2_Log_Log logData;
  LV2_Feature logEntry;
  std::int32_t blockLength = 0;
  LV2_Options_Option options[2] = {};
  LV2_Feature optionsEntry;
};
