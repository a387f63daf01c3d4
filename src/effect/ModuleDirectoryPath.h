// Working out the module directory from a path.
#pragma once

#include <string>

// The directory of the archive, from either the host's directory answer or
// the module's file name: a path holding the module extension after its
// first character is cut after its last separator (so a path without
// separator gives an empty directory: the current one); any other path is a
// directory and gets a separator appended unless it ends in one.
std::string moduleDirectoryFromPath(const std::string& path, char separator, const char* moduleExtension);
