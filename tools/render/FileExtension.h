// File-name extensions as the tool compares them.
#pragma once

#include <string>

// The path's extension in lower case (A to Z), with its dot: ".wav".
std::string lowerCaseExtension(const std::string& path);
