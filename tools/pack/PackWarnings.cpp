#include "pack/PackWarnings.h"

#include <algorithm>

#include "pack/PackError.h"

std::string PackWarning::text() const { return sourcePlace(file, line) + ": warning: " + message; }

void PackWarnings::sortByPlace() {
  std::stable_sort(found.begin(), found.end(), [](const PackWarning& a, const PackWarning& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
}
