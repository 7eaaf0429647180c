#pragma once

// Preparing files for a test the same way on every system: attributes, times and links.

#include <cstdint>
#include <string>

namespace TestSupport {

// Read-only: POSIX takes every write permission away, Windows sets the read-only attribute.
// Throws when the system refuses.
void MakeReadOnly(const std::string& path);

// Sets the modification time (and the access time to the same moment), in seconds since
// 1970-01-01 UTC. Throws when the system refuses.
void SetModificationTime(const std::string& path, std::int64_t seconds);

// Makes a symbolic link at link pointing to target. False when the system does not allow it
// (Windows without the privilege, or under Wine where it is not supported): the caller skips.
bool MakeSymbolicLink(const std::string& target, const std::string& link);

// Makes a folder; throws when it cannot be made.
void MakeFolder(const std::string& path);

}  // namespace TestSupport
