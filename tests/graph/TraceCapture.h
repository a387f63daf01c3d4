// Collects the trace messages sent to traceLog while it lives.
#pragma once

#include <string>
#include <vector>

#include "frame/TraceLog.h"

class TraceCapture {
 public:
  TraceCapture() {
    messages().clear();
    setTraceSink([](const std::string& message) { messages().push_back(message); });
  }
  ~TraceCapture() { setTraceSink(nullptr); }
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

  const std::vector<std::string>& all() const { return messages(); }

  // The captured messages that begin with prefix, in order.
  std::vector<std::string> startingWith(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const std::string& message : messages()) {
      if (message.rfind(prefix, 0) == 0) matching.push_back(message);
    }
    return matching;
  }

 private:
  static std::vector<std::string>& messages() {
    static std::vector<std::string> captured;
    return captured;
  }
};
