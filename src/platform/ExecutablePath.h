// Where the running program's executable lives on disk.
#pragma once

#include <string>

namespace platform {

// The full file name of the running executable; empty when the system cannot
// tell. Tools use it to find files installed beside them.
std::string executableFileName();

}  // namespace platform
