#include "pack/FxpProgram.h"

#include <algorithm>
#include <cstring>

#include "effect/FxpLayout.h"

std::vector<char> encodeFxp(VstInt32 uniqueId, VstInt32 effectVersion, const std::string& name,
                            const std::vector<float>& values) {
  std::vector<char> bytes(fxp::kValuesOffset + fxp::kValueSize * values.size(), '\0');
  char* out = bytes.data();
  fxp::writeInt(fxp::kChunkMagic, out + fxp::kChunkMagicOffset);
  fxp::writeInt(static_cast<VstInt32>(bytes.size() - fxp::kByteSizeCounted), out + fxp::kByteSizeOffset);
  fxp::writeInt(fxp::kProgramMagic, out + fxp::kProgramMagicOffset);
  fxp::writeInt(fxp::kFormatVersion, out + fxp::kFormatVersionOffset);
  fxp::writeInt(uniqueId, out + fxp::kUniqueIdOffset);
  fxp::writeInt(effectVersion, out + fxp::kEffectVersionOffset);
  fxp::writeInt(static_cast<VstInt32>(values.size()), out + fxp::kNumParamsOffset);
  std::memcpy(out + fxp::kNameOffset, name.data(), std::min(name.size(), fxp::kNameSize - 1));
  for (std::size_t i = 0; i < values.size(); ++i)
    fxp::writeFloat(values[i], out + fxp::kValuesOffset + fxp::kValueSize * i);
  return bytes;
}

bool decodeFxp(const std::vector<char>& bytes, FxpProgram& program) {
  if (bytes.size() < fxp::kValuesOffset) return false;
  const char* in = bytes.data();
  program.chunkMagic = fxp::readInt(in + fxp::kChunkMagicOffset);
  program.programMagic = fxp::readInt(in + fxp::kProgramMagicOffset);
  program.formatVersion = fxp::readInt(in + fxp::kFormatVersionOffset);
  program.uniqueId = fxp::readInt(in + fxp::kUniqueIdOffset);
  program.effectVersion = fxp::readInt(in + fxp::kEffectVersionOffset);
  program.numParams = fxp::readInt(in + fxp::kNumParamsOffset);
  const char* nameField = in + fxp::kNameOffset;
  program.name.assign(nameField, std::find(nameField, nameField + fxp::kNameSize, '\0'));
  std::size_t present = (bytes.size() - fxp::kValuesOffset) / fxp::kValueSize;
  std::size_t count = program.numParams > 0 ? std::min<std::size_t>(program.numParams, present) : 0;
  program.values.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    program.values[i] = fxp::readFloat(in + fxp::kValuesOffset + fxp::kValueSize * i);
  return true;
}
