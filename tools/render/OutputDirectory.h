// The directory a run writes its files into.
#pragma once

#include <filesystem>

// Makes the directory when it is missing but its parent exists; a missing
// parent is refused rather than made, so a mistyped path does not grow a
// tree of folders. Throws RenderError when it cannot be used.
void prepareOutputDirectory(const std::filesystem::path& directory);
