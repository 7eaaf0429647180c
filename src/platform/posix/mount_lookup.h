#pragma once

// Finding the mounted file system that holds a path, and reading the small text files of /proc
// and /sys on the way. Shared by the drive queries and the storage facts.

#include <optional>
#include <string>
#include <vector>

#include "platform/posix/mount_table.h"

namespace Platform::MountLookup {

// The whole content of a text file; nothing when it cannot be read.
std::optional<std::string> ReadTextFile(const std::string& path);

// The path with every link resolved; empty when some part of it does not exist.
std::string ResolvedPath(const std::string& path);

// The last name of a path ("sda1" of "/dev/sda1").
std::string LastName(const std::string& path);

// The path as the system reaches it: the folder that holds it with its links resolved, then the
// last name as written, since that name is never followed. Where the folder does not exist, the
// absolute path as written.
std::string LocatePath(const std::string& path);

// The entries of /proc/self/mountinfo; nothing when it cannot be read.
std::optional<std::vector<MountTable::MountEntry>> ReadMountTable();

// The entry of the mounted file system that holds path; nothing when none does.
std::optional<MountTable::MountEntry> MountHolding(const std::string& path);

// True when what is mounted is a block device node under /dev.
bool SourceIsBlockDevice(const std::string& source);

// The kernel's name of the block device that source names ("sda1" for "/dev/sda1" and for a
// link such as "/dev/disk/by-uuid/..." that leads to it).
std::string KernelName(const std::string& source);

}  // namespace Platform::MountLookup
