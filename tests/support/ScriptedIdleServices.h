// Idle services with a clock that the test sets and that sleeping advances.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/IdleServices.h"

class ScriptedIdleServices : public IdleServices {
 public:
  std::uint32_t tickCount() override { return now; }
  void sleepMilliseconds(std::uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    now += milliseconds;
  }
  void dispatchPendingPaint() override { ++paintPumps; }

  std::uint32_t now = 1000;
  std::vector<std::uint32_t> sleeps;
  int paintPumps = 0;
};
