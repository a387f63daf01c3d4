// The LV2 bundle the build assembled, and copies of it with archives of a
// test's own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/ZipFixture.h"

// The bundle in the build tree.
inline std::filesystem::path shippedBundle() { return TORVIX_LV2_BUNDLE_DIR; }

// Every member of the archive at path, in archive order.
std::vector<ZipFixtureMember> readArchiveMembers(const std::filesystem::path& path);

// A bundle at directory with the shipped bundle's binary and Turtle and an
// archive of the given members; false when it cannot be written.
bool writeBundle(const std::filesystem::path& directory, const std::vector<ZipFixtureMember>& members);
