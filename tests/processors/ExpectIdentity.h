// Checks what a built-in processor tells a host about itself, through its effect record.
#pragma once

#include <gtest/gtest.h>

#include "frame/VstInterface.h"

// The record's fields and the identity requests' answers expected of one processor; the vendor,
// the category and the two inputs and two outputs are the same for every built-in processor.
struct ExpectedIdentity {
  const char* effectName;
  const char* productString;
  VstInt32 vendorVersion;
  VstInt32 uniqueID;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 flags;
};

inline void expectIdentity(AEffect& record, const ExpectedIdentity& expected) {
  SCOPED_TRACE(expected.effectName);
  char text[64];
  EXPECT_EQ(record.dispatcher(&record, effGetEffectName, 0, 0, text, 0.0f), 1);
  EXPECT_STREQ(text, expected.effectName);
  EXPECT_EQ(record.dispatcher(&record, effGetVendorString, 0, 0, text, 0.0f), 1);
  EXPECT_STREQ(text, "Brelvanix");
  EXPECT_EQ(record.dispatcher(&record, effGetProductString, 0, 0, text, 0.0f), 1);
  EXPECT_STREQ(text, expected.productString);
  EXPECT_EQ(record.dispatcher(&record, effGetVendorVersion, 0, 0, nullptr, 0.0f), expected.vendorVersion);
  EXPECT_EQ(record.dispatcher(&record, effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategEffect);
  EXPECT_EQ(record.magic, kEffectMagic);
  EXPECT_EQ(record.uniqueID, expected.uniqueID);
  EXPECT_EQ(record.numPrograms, expected.numPrograms);
  EXPECT_EQ(record.numParams, expected.numParams);
  EXPECT_EQ(record.numInputs, 2);
  EXPECT_EQ(record.numOutputs, 2);
  EXPECT_EQ(record.flags, expected.flags);
}
