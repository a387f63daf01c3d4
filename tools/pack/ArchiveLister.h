// Listing any archive for inspection: its members, and each FXP program
// decoded back into the preset text form.
#pragma once

#include <ostream>
#include <string>

// Writes, for each member in archive order, a line "== NAME (N bytes)"; for a
// member whose name ends in ".fxp" the line "== NAME" is followed by the
// preset text (comment lines give the header's details and anything
// unusual about it). Throws PackError when the archive cannot be opened or a
// member cannot be read; what was listed before stays written.
void listArchive(const std::string& archivePath, std::ostream& out);
