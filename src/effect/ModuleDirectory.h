// The directory of the plug-in module, shared by every effect instance of the
// process: the resource archive is looked up there.
#pragma once

#include <string>

// The module directory, ending in the platform's path separator; empty until
// set. Returns a copy, so it stays valid while another instance sets it.
std::string moduleDirectory();

// Sets the module directory (the main effect does, at construction).
void setModuleDirectory(const std::string& directory);
