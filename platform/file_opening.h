// What reading a file asks of each system: opening it read-only with shared access, and its
// size when it is a regular file. The reading itself is the same everywhere.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace m5::platform {

// The opened file, or null (errno tells why).
std::FILE* OpenSharedForReading(const std::wstring& path);

// The size of an opened regular file, 0 for anything else or when unknown: a hint for the
// first read, not a limit.
std::size_t RegularFileSize(std::FILE* file);

}  // namespace m5::platform
