#include "processors/BrelvanixProcessor.h"

#include "frame/TextCopy.h"

BrelvanixProcessor::BrelvanixProcessor(audioMasterCallback audioMaster, VstInt32 numPrograms,
                                       VstInt32 numParams, const Identity& identity)
    : AudioEffectX(audioMaster, numPrograms, numParams), identity(identity) {}

bool BrelvanixProcessor::getEffectName(char* name) {
  copyText(name, identity.effectName, kVstMaxEffectNameLen);
  return true;
}

bool BrelvanixProcessor::getVendorString(char* text) {
  copyText(text, "Brelvanix", kVstMaxVendorStrLen);
  return true;
}

bool BrelvanixProcessor::getProductString(char* text) {
  copyText(text, identity.productString, kVstMaxProductStrLen);
  return true;
}

VstInt32 BrelvanixProcessor::getVendorVersion() { return identity.vendorVersion; }

VstPlugCategory BrelvanixProcessor::getPlugCategory() { return kPlugCategEffect; }
