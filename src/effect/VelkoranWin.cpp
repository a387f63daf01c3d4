#include "effect/VelkoranWin.h"

VelkoranWin::VelkoranWin() { initialise(); }

void VelkoranWin::lock() { engineLock.lock(); }

void VelkoranWin::unlock() { engineLock.unlock(); }
