// The trace sink through which the engine, the archive code and the graph
// builder report progress.
#pragma once

#include <string>

// Formats a printf-style trace message and hands it to the installed sink.
// Without a sink (the default) the message is discarded before formatting,
// so tracing on the audio path costs one test.
void traceLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Receives each formatted trace message.
using TraceSink = void (*)(const std::string& message);

// Installs a sink (tests capture the traces this way); nullptr discards again.
// Not thread-safe: install before the traced work starts.
void setTraceSink(TraceSink sink);
