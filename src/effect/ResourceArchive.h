// The resource archive: the ZIP file beside the module that holds the graph
// descriptions and the presets ("a.zip", else "torvix.data").
//
// There is one archive handle per process, shared by every effect instance.
// Each operation takes the process-wide archive lock; a group of operations
// that must see the archive open throughout holds an ArchiveSession. All of
// these run on loading paths (construction, "Preset" changes), never on the
// audio path.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

// Members larger than this are refused rather than read into memory.
constexpr std::size_t kMaxMemberSize = 16 * 1024 * 1024;
// Size of the name buffer of the member listing: names of this many
// characters or more are not listed, since they could not be passed on whole.
constexpr std::size_t kListedNameCapacity = 100;
// Names of this many characters or more are never located.
constexpr std::size_t kLocatableNameCapacity = 256;

// Opens the archive in the module directory unless it is open already; true
// when an archive is open afterwards.
bool openArchive();

// Closes the archive (and a member left open); closing a closed archive does
// nothing.
void closeArchive();

bool isArchiveOpen();

// Makes the member of that name current, comparing the letters A to Z without
// regard to case. False when it is missing or no archive is open.
bool locateMember(const char* name);

// Calls visitor with the name of every member, in archive order. Names too
// long for the listing, or with a zero byte inside, are skipped. False when
// no archive is open.
bool visitMembers(const std::function<void(const char* name)>& visitor);

// Reads the whole current member. Refused (false, bytes left unchanged) when
// it is larger than kMaxMemberSize, comes back short or fails its checksum.
bool readCurrentMember(std::vector<char>& bytes);

// Locates the member and reads it whole, as readCurrentMember.
bool readMember(const char* name, std::vector<char>& bytes);
