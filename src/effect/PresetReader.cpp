#include "effect/PresetReader.h"

#include <algorithm>
#include <vector>

#include "effect/ArchiveLock.h"
#include "effect/FxpLayout.h"
#include "effect/ResourceArchive.h"
#include "frame/AudioEffect.h"
#include "frame/TraceLog.h"

namespace {

// The header through numParams must be there; the program name that follows
// is not used.
constexpr std::size_t kRequiredHeader = fxp::kNumParamsOffset + 4;

// Values stop at the end of the member whatever numParams claims, so a
// crafted header costs nothing.
VstInt32 valuesToSet(const std::vector<char>& bytes) {
  VstInt32 numParams = fxp::readInt(bytes.data() + fxp::kNumParamsOffset);
  if (numParams <= 0 || bytes.size() < fxp::kValuesOffset) return 0;
  std::size_t present = (bytes.size() - fxp::kValuesOffset) / fxp::kValueSize;
  return static_cast<VstInt32>(std::min<std::size_t>(static_cast<std::size_t>(numParams), present));
}

void applyValues(AudioEffect* processor, const std::vector<char>& bytes) {
  VstInt32 count = valuesToSet(bytes);
  for (VstInt32 i = 0; i < count; ++i) {
    float value = fxp::readFloat(bytes.data() + fxp::kValuesOffset + fxp::kValueSize * i);
    traceLog("fx:%f;", value);
    processor->setParameter(i, value);
  }
}

}  // namespace

bool readPreset(AudioEffect* processor, const char* memberName) {
  traceLog("loading %s;", memberName);
  // The member must stay current between locating and reading it.
  ArchiveLockGuard guard;
  if (!locateMember(memberName)) {
    traceLog("Can't open fxp:%s\n", memberName);
    return false;
  }
  // Read whole first: a member that fails its checksum or comes back short
  // sets nothing, rather than some of its values.
  std::vector<char> bytes;
  if (!readCurrentMember(bytes)) {
    traceLog("Can't read fxp:%s\n", memberName);
    return false;
  }
  if (bytes.size() < kRequiredHeader) return false;
  applyValues(processor, bytes);
  traceLog("loaded %s;", memberName);
  return true;
}
