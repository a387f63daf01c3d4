#include "frame/TraceLog.h"

#include <cstdarg>
#include <cstdio>

namespace {
TraceSink installedSink = nullptr;
}

void traceLog(const char* format, ...) {
  if (!installedSink) return;
  va_list arguments;
  va_start(arguments, format);
  char message[1024];
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  installedSink(message);
}

void setTraceSink(TraceSink sink) { installedSink = sink; }
