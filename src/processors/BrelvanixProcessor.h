// The base of the built-in processors: what every Brelvanix processor tells a host about itself.
#pragma once

#include "frame/AudioEffectX.h"

// An effect that names itself with a fixed identity: its own effect name, product string and
// vendor version, the vendor "Brelvanix" and the category of a plain effect.
class BrelvanixProcessor : public AudioEffectX {
 public:
  // The texts must outlive the processor (string literals, as a rule).
  struct Identity {
    const char* effectName;
    const char* productString;
    VstInt32 vendorVersion;
  };

  BrelvanixProcessor(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams,
                     const Identity& identity);

  // host, any thread, not real-time: identity, cut to the interface's field sizes.
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstPlugCategory getPlugCategory() override;

 private:
  Identity identity;
};
