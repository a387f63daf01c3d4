// The published FXP program layout: a 56-byte header followed by the
// parameter values, every multi-byte field big-endian.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/VstInterface.h"

namespace fxp {

constexpr VstInt32 kChunkMagic = CCONST('C', 'c', 'n', 'K');
constexpr VstInt32 kProgramMagic = CCONST('F', 'x', 'C', 'k');
constexpr VstInt32 kFormatVersion = 1;

// Byte offsets of the header fields.
constexpr std::size_t kChunkMagicOffset = 0;
constexpr std::size_t kByteSizeOffset = 4;
constexpr std::size_t kProgramMagicOffset = 8;
constexpr std::size_t kFormatVersionOffset = 12;
constexpr std::size_t kUniqueIdOffset = 16;
constexpr std::size_t kEffectVersionOffset = 20;
constexpr std::size_t kNumParamsOffset = 24;
constexpr std::size_t kNameOffset = 28;
constexpr std::size_t kNameSize = 28;
constexpr std::size_t kValuesOffset = kNameOffset + kNameSize;
constexpr std::size_t kValueSize = 4;
// The byte size field counts everything after itself.
constexpr std::size_t kByteSizeCounted = kByteSizeOffset + 4;

inline std::uint32_t readBigEndian(const char* bytes) {
  auto byte = [bytes](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])); };
  return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

inline void writeBigEndian(std::uint32_t value, char* bytes) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (24 - 8 * i));
}

inline VstInt32 readInt(const char* bytes) { return static_cast<VstInt32>(readBigEndian(bytes)); }
inline float readFloat(const char* bytes) { return std::bit_cast<float>(readBigEndian(bytes)); }
inline void writeInt(VstInt32 value, char* bytes) {
  writeBigEndian(static_cast<std::uint32_t>(value), bytes);
}
inline void writeFloat(float value, char* bytes) {
  writeBigEndian(std::bit_cast<std::uint32_t>(value), bytes);
}

}  // namespace fxp
