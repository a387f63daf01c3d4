#include "platform/OleSession.h"

#include <ole2.h>

namespace platform {

void oleInitialize() { OleInitialize(nullptr); }
void oleUninitialize() { OleUninitialize(); }

}  // namespace platform
