// The host side of the host callback.
#pragma once

#include <mutex>
#include <string>

#include "frame/VstInterface.h"

// Answers an effect's requests to its host. The base answers
// audioMasterVersion with 2400 and, when a directory is set,
// audioMasterGetDirectory with it; everything else with 0. Subclasses
// (tests) may answer or record more.
class HostCallback {
 public:
  virtual ~HostCallback() = default;

  // The text that audioMasterGetDirectory answers; empty answers none.
  void setDirectory(std::string path) { directory = std::move(path); }

  virtual VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                           float opt);

  // The C function handed to the module. It finds its HostCallback through
  // the record's host field resvd1, or, during the entry call when there is
  // no record yet, through the callback that is creating the effect.
  static VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                        void* ptr, float opt);

  // Binds a record to this callback, so its later requests reach answer().
  void adopt(AEffect* effect);

  // While an entry call runs, requests without a record go to the callback
  // given here; entry calls on several threads take turns.
  class EntryScope {
   public:
    explicit EntryScope(HostCallback& callback);
    ~EntryScope();
    EntryScope(const EntryScope&) = delete;
    EntryScope& operator=(const EntryScope&) = delete;

   private:
    std::unique_lock<std::recursive_mutex> turn;
    HostCallback* previous;
  };

 private:
  std::string directory;
};
