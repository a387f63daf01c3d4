// The factory of a test module that loads but never creates an effect, as a
// module does when its effect cannot be built.
#include "frame/EffectFactory.h"

AudioEffect* createEffectInstance(audioMasterCallback) { return nullptr; }
