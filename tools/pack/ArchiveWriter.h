// Writing an archive file.
#pragma once

#include <filesystem>
#include <vector>

#include "pack/ArchiveEntry.h"

// Writes the entries, deflated and in the given order, as a ZIP archive at
// path. The archive is written to a temporary file beside path and renamed
// over it only when complete, so a failure leaves no partial archive (and an
// existing one untouched). Time stamps are fixed, so the same sources give
// the same bytes. Throws PackError when the archive cannot be written.
void writeArchive(const std::filesystem::path& path, const std::vector<ArchiveEntry>& entries);
