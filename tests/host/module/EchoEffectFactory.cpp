// The factory of a small test module: its effect doubles its input, reports
// the directory its host gave it as its product string, and asks for a short
// tail so that hosts' tail handling can be checked.
#include <string>

#include "frame/AudioEffectX.h"
#include "frame/EffectFactory.h"
#include "frame/TextCopy.h"

namespace {

class EchoEffect : public AudioEffectX {
 public:
  explicit EchoEffect(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, 1, 1) {
    setUniqueID(CCONST('T', 'e', 's', 't'));
    const char* directory = static_cast<const char*>(getDirectory());
    hostDirectory = directory ? directory : "";
  }

  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {
    for (VstInt32 i = 0; i < sampleFrames; ++i) outputs[0][i] = 2.0f * inputs[0][i];
  }
  void setParameter(VstInt32, float value) override { gain = value; }
  float getParameter(VstInt32) override { return gain; }
  bool getEffectName(char* name) override {
    copyText(name, "Echo", kVstMaxEffectNameLen);
    return true;
  }
  VstInt32 getGetTailSize() override { return kTailSize; }
  bool getProductString(char* text) override {
    copyText(text, hostDirectory.c_str(), kVstMaxProductStrLen);
    return true;
  }

 private:
  static constexpr VstInt32 kTailSize = 3;

  std::string hostDirectory;
  float gain = 0.0f;
};

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new EchoEffect(audioMaster); }
