// The sources of the resource archive: a folder of graph descriptions and
// preset texts.
#pragma once

#include <filesystem>
#include <vector>

#include "pack/ArchiveEntry.h"

// Preset texts end in this; "bass.preset" becomes the member "bass.fxp".
constexpr const char* kPresetExtension = ".preset";

// The members built from the folder's files, sorted by file name: each
// "NAME.xml" copied as it is, each "NAME.preset" encoded as the FXP member
// "NAME.fxp"; other files are not archive sources. Throws PackError for a
// preset that does not parse, a member name that differs from another only
// in letter case, one too long to be listed, a preset whose member name would
// pass for a graph description (".xml" inside it), and an unreadable file.
std::vector<ArchiveEntry> collectArchiveSources(const std::filesystem::path& folder);
