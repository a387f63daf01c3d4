#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "frame/AudioEffectX.h"

namespace {

// Every operation fails as an operation that runs out of memory does.
class ThrowingEffect : public AudioEffectX {
 public:
  static inline int liveInstances = 0;

  ThrowingEffect() : AudioEffectX(nullptr, 1, 1) { ++liveInstances; }
  ~ThrowingEffect() override { --liveInstances; }

  VstIntPtr dispatcher(VstInt32, VstInt32, VstIntPtr, void*, float) override { throw std::bad_alloc(); }
  void process(float**, float**, VstInt32) override { throw std::runtime_error("process"); }
  void processReplacing(float**, float**, VstInt32) override { throw std::runtime_error("replacing"); }
  void processDoubleReplacing(double**, double**, VstInt32) override { throw std::runtime_error("double"); }
  void setParameter(VstInt32, float) override { throw std::bad_alloc(); }
  float getParameter(VstInt32) override { throw std::bad_alloc(); }
};

// The host is C: nothing thrown inside an effect may reach it.
TEST(EffectEntry, NoExceptionCrossesTheRecordsEntries) {
  auto* effect = new ThrowingEffect;
  AEffect* record = effect->getAeffect();
  float sample = 0.0f;
  float* channels[] = {&sample};
  double wide = 0.0;
  double* wideChannels[] = {&wide};
  EXPECT_EQ(record->dispatcher(record, effGetVendorVersion, 0, 0, nullptr, 0.0f), 0);
  record->process(record, channels, channels, 1);
  record->processReplacing(record, channels, channels, 1);
  record->processDoubleReplacing(record, wideChannels, wideChannels, 1);
  record->setParameter(record, 0, 0.5f);
  EXPECT_EQ(record->getParameter(record, 0), 0.0f);
  EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(ThrowingEffect::liveInstances, 0);
}

}  // namespace
