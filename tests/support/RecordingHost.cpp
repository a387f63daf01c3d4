#include "support/RecordingHost.h"

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
  return opcode >= 0 && opcode < 64 ? activeHost->answers[opcode] : 0;
}

void RecordingHost::answerWith(VstInt32 opcode, VstIntPtr answer) { answers[opcode] = answer; }

std::vector<HostRequest> RecordingHost::requests(VstInt32 opcode) const {
  std::vector<HostRequest> matching;
  for (const HostRequest& request : received) {
    if (request.opcode == opcode) matching.push_back(request);
  }
  return matching;
}
