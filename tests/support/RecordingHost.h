// A host callback for tests that records every request it receives.
#pragma once

#include <string>
#include <vector>

#include "frame/VstInterface.h"

// One request that an effect sent to its host.
struct HostRequest {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

// Records requests and answers each opcode with a configurable value
// (0 unless set). Install with RecordingHost::install(&host) before creating
// the effect with RecordingHost::callback; one host per test at a time.
class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();

  static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                        void* ptr, float opt);

  void answerWith(VstInt32 opcode, VstIntPtr answer);
  // Answers a text request (vendor, product) by writing the text to its
  // ptr and returning 1.
  void answerText(VstInt32 opcode, std::string text);
  // Requests with this opcode, in order.
  std::vector<HostRequest> requests(VstInt32 opcode) const;
  const std::vector<HostRequest>& all() const { return received; }
  void clear() { received.clear(); }

 private:
  std::vector<HostRequest> received;
  VstIntPtr answers[64] = {};
  std::string texts[64];
};
