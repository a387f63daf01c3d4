// The plug-in module's factory.
#include <new>

#include "effect/ZrVelkoran.h"
#include "frame/EffectFactory.h"

// A machine that cannot give the engine its buffers gets no effect rather
// than a half-built one.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  try {
    return new ZrVelkoran(audioMaster);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
