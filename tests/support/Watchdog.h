// Turns a hang into a failure: a test that could deadlock guards its work
// with a watchdog instead of leaving the test run waiting for ever.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// From construction to destruction the guarded work has the given time;
// past it the watchdog reports what did not finish and ends the program
// with a failure (threads stuck on a lock cannot be joined or unwound).
class Watchdog {
 public:
  Watchdog(std::chrono::seconds limit, std::string work);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::thread watcher;
};
