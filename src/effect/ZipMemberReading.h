// Reading one member of any open ZIP archive whole, refusing anything that
// would leave it half-read.
#pragma once

#include <unzip.h>

#include <vector>

// Reads the current member of archive. Refused (false, bytes left unchanged)
// when it is larger than kMaxMemberSize (ResourceArchive.h), cannot be
// opened, comes back short or fails its checksum.
bool readCurrentZipMember(unzFile archive, std::vector<char>& bytes);
