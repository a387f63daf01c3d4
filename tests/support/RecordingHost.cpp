#include "support/RecordingHost.h"

#include <cstring>
#include <utility>

namespace {
RecordingHost* activeHost = nullptr;
}

RecordingHost::RecordingHost() { activeHost = this; }

RecordingHost::~RecordingHost() {
  if (activeHost == this) activeHost = nullptr;
}

VstIntPtr VSTCALLBACK RecordingHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt) {
  if (!activeHost) return 0;
  activeHost->received.push_back({effect, opcode, index, value, ptr, opt});
  if (opcode < 0 || opcode >= 64) return 0;
  const std::string& text = activeHost->texts[opcode];
  if (!text.empty() && ptr) std::memcpy(ptr, text.c_str(), text.size() + 1);
  return activeHost->answers[opcode];
}

void RecordingHost::answerWith(VstInt32 opcode, VstIntPtr answer) { answers[opcode] = answer; }

void RecordingHost::answerText(VstInt32 opcode, std::string text) {
  texts[opcode] = std::move(text);
  answers[opcode] = 1;
}

std::vector<HostRequest> RecordingHost::requests(VstInt32 opcode) const {
  std::vector<HostRequest> matching;
  for (const HostRequest& request : received) {
    if (request.opcode == opcode) matching.push_back(request);
  }
  return matching;
}
