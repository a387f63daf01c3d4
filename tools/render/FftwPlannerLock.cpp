#include "render/FftwPlannerLock.h"

std::mutex& fftwPlannerLock() {
  static std::mutex lock;
  return lock;
}
