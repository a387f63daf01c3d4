// An FXP program as torvix-pack writes it and decodes it for listing.
#pragma once

#include <string>
#include <vector>

#include "frame/VstInterface.h"

struct FxpProgram {
  VstInt32 chunkMagic = 0;
  VstInt32 programMagic = 0;
  VstInt32 formatVersion = 0;
  VstInt32 uniqueId = 0;
  VstInt32 effectVersion = 0;
  // As the header states it; values holds only those actually present.
  VstInt32 numParams = 0;
  std::string name;
  std::vector<float> values;
};

// The published big-endian layout with both magics, format version 1, the
// byte size of the rest and numParams = values.size(); the name is cut to
// fit its 28-byte field with a terminating zero.
std::vector<char> encodeFxp(VstInt32 uniqueId, VstInt32 effectVersion, const std::string& name,
                            const std::vector<float>& values);

// Decodes what a member holds, as far as it goes: false when it is shorter
// than the header (56 bytes). Values stop at the end of the member.
bool decodeFxp(const std::vector<char>& bytes, FxpProgram& program);
