#include "frame/IdleServices.h"

#include "platform/Clock.h"
#include "platform/PendingPaint.h"

namespace {

class SystemIdleServices final : public IdleServices {
 public:
  std::uint32_t tickCount() override { return platform::tickCount(); }
  void sleepMilliseconds(std::uint32_t milliseconds) override { platform::sleepMilliseconds(milliseconds); }
  void dispatchPendingPaint() override { platform::dispatchPendingPaint(); }
};

}  // namespace

IdleServices& IdleServices::system() {
  static SystemIdleServices services;
  return services;
}
