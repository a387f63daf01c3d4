// The Windows module (DLL or program) that holds the plug-in's code.
#pragma once

#include <windows.h>

namespace platform {

// The instance handle of the module this code is linked into, not the
// host's program: its resources and window classes are the plug-in's own.
HINSTANCE moduleInstance();

}  // namespace platform
