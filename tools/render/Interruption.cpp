#include "render/Interruption.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void noteInterruption(int) { interrupted = 1; }

}  // namespace

void installInterruptionHandler() {
  std::signal(SIGINT, noteInterruption);
  std::signal(SIGTERM, noteInterruption);
  std::signal(SIGHUP, noteInterruption);
}

bool interruptionRequested() { return interrupted != 0; }
