// The features an LV2 host passes to instantiate, picked out once.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/log/log.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <cstdint>

// The features the DSP module uses; each is null (or 0) when the host gave
// none. Only reads the list: the host owns every feature.
class HostFeatures {
 public:
  explicit HostFeatures(const LV2_Feature* const* features);

  const LV2_URID_Map* map() const { return uridMap; }
  const LV2_Worker_Schedule* schedule() const { return workerSchedule; }
  const LV2_Log_Log* log() const { return hostLog; }
  // The longest block the host announces (options, buf-size), 0 when it
  // announces none.
  std::int32_t maxBlockLength() const { return longestBlock; }

 private:
  void readOptions(const void* options);

  const LV2_URID_Map* uridMap = nullptr;
  const LV2_Worker_Schedule* workerSchedule = nullptr;
  const LV2_Log_Log* hostLog = nullptr;
  std::int32_t longestBlock = 0;
};
