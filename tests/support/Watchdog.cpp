#include "support/Watchdog.h"

#include <cstdio>
#include <cstdlib>

Watchdog::Watchdog(std::chrono::seconds limit, std::string work)
    : watcher([this, limit, work = std::move(work)] {
        std::unique_lock<std::mutex> hold(mutex);
        if (finished.wait_for(hold, limit, [this] { return done; })) return;
        std::fprintf(stderr, "Watchdog: %s did not finish within %lld s (deadlock?)\n", work.c_str(),
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
      }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> hold(mutex);
    done = true;
  }
  finished.notify_one();
  watcher.join();
}
