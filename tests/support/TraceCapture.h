// Captures the messages given to traceLog while it exists.
#pragma once

#include <string>
#include <vector>

#include "frame/TraceLog.h"

// Installs a sink that collects every trace message; the destructor restores
// the discarding default. One capture at a time.
class TraceCapture {
 public:
  TraceCapture() {
    captured().clear();
    setTraceSink([](const std::string& message) { captured().push_back(message); });
  }
  ~TraceCapture() { setTraceSink(nullptr); }
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

  const std::vector<std::string>& messages() const { return captured(); }
  void clear() { captured().clear(); }

 private:
  static std::vector<std::string>& captured() {
    static std::vector<std::string> messages;
    return messages;
  }
};
