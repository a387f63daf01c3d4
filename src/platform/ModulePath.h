// Where the plug-in module lives on disk.
#pragma once

#include <string>

namespace platform {

// The file name of the module that holds the plug-in's code. On Windows the
// module is looked up by name ("torvix distortion", else "zrvelkoran_d");
// when none is found the result is the host executable's file name.
std::string moduleFileName();

// The separator of directory names in a path: '\' on Windows, '/' elsewhere.
char pathSeparator();

// The file-name extension of a plug-in module: ".dll" on Windows, ".so"
// elsewhere.
const char* moduleExtension();

}  // namespace platform
