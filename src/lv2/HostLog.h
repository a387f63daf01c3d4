// Messages to the host's log.
#pragma once

#include <lv2/log/log.h>
#include <lv2/urid/urid.h>

// Writes warnings through the host's log feature, or, when the host gave
// none, to the trace sink (which discards by default). Never on the audio
// thread: hosts' log functions may block.
class HostLog {
 public:
  HostLog(const LV2_Log_Log* log, const LV2_URID_Map* map);

  // Loading paths: one line (the text should end in a newline).
  void warning(const char* format, ...) const __attribute__((format(printf, 2, 3)));

 private:
  const LV2_Log_Log* log;
  LV2_URID warningType = 0;
};
