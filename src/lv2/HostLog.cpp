#include "lv2/HostLog.h"

#include <cstdarg>
#include <cstdio>

#include "frame/TraceLog.h"

HostLog::HostLog(const LV2_Log_Log* log, const LV2_URID_Map* map) : log(map ? log : nullptr) {
  if (this->log) warningType = map->map(map->handle, LV2_LOG__Warning);
}

void HostLog::warning(const char* format, ...) const {
  std::va_list arguments;
  va_start(arguments, format);
  if (log) {
    log->vprintf(log->handle, warningType, format, arguments);
  } else {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    traceLog("%s", text);
  }
  va_end(arguments);
}
