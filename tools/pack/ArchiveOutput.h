// Where torvix-pack may write an archive.
#pragma once

#include <filesystem>

// Throws PackError unless output names a new file or an existing ZIP archive, its name
// ends in ".zip" (or is "torvix.data", the other name the plug-in reads) and it does
// not lie in the source folder: so a mistaken command line cannot overwrite a
// description, a preset or any other file.
void checkArchiveOutput(const std::filesystem::path& output, const std::filesystem::path& sourceFolder);
