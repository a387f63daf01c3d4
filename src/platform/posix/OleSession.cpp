#include "platform/OleSession.h"

namespace platform {

void oleInitialize() {}
void oleUninitialize() {}

}  // namespace platform
