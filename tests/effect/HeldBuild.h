// A "Preset" build held at will: a build as slow as a test needs, without timing.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>

#include "effect/GraphBuiltHook.h"

// While it lives, a build of the named description stops once built, before it is
// installed, until release(); builds of other descriptions go on. One at a time; create and
// destroy it while no build runs.
class HeldBuild {
 public:
  explicit HeldBuild(std::string name) : name(std::move(name)) {
    current = this;
    setGraphBuiltHook(hold);
  }
  ~HeldBuild() {
    release();
    setGraphBuiltHook(nullptr);
    current = nullptr;
  }
  HeldBuild(const HeldBuild&) = delete;
  HeldBuild& operator=(const HeldBuild&) = delete;

  // Until a build of the description is held.
  void waitUntilHeld() {
    std::unique_lock<std::mutex> guard(mutex);
    changed.wait(guard, [this] { return held; });
  }

  void release() {
    const std::lock_guard<std::mutex> guard(mutex);
    released = true;
    changed.notify_all();
  }

 private:
  static void hold(const std::string& built) {
    HeldBuild& self = *current;
    if (built != self.name) return;
    std::unique_lock<std::mutex> guard(self.mutex);
    self.held = true;
    self.changed.notify_all();
    self.changed.wait(guard, [&self] { return self.released; });
  }

  inline static HeldBuild* current = nullptr;
  const std::string name;
  std::mutex mutex;
  std::condition_variable changed;
  bool held = false;
  bool released = false;
};
