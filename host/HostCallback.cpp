#include "host/HostCallback.h"

#include <atomic>

namespace {

// A global rather than thread-local: a module with thread-local storage leaves it behind in
// the threads that touched it when the host unloads the module. Entry calls take turns.
std::recursive_mutex& entryLock() {
  static std::recursive_mutex lock;
  return lock;
}

std::atomic<HostCallback*> creatingCallback{nullptr};

}  // namespace

VstIntPtr HostCallback::answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterGetDirectory:
      return directory.empty() ? 0 : reinterpret_cast<VstIntPtr>(directory.c_str());
    default:
      return 0;
  }
}

VstIntPtr VSTCALLBACK HostCallback::dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                             VstIntPtr value, void* ptr, float opt) {
  HostCallback* callback =
      effect && effect->resvd1 ? reinterpret_cast<HostCallback*>(effect->resvd1) : creatingCallback.load();
  return callback ? callback->answer(effect, opcode, index, value, ptr, opt) : 0;
}

void HostCallback::adopt(AEffect* effect) { effect->resvd1 = reinterpret_cast<VstIntPtr>(this); }

HostCallback::EntryScope::EntryScope(HostCallback& callback)
    : turn(entryLock()), previous(creatingCallback.load()) {
  creatingCallback = &callback;
}

HostCallback::EntryScope::~EntryScope() { creatingCallback = previous; }
