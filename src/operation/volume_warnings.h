#pragma once

// The warnings shown before a purge, and after a listing's estimate, about the drive of the
// target: wherever its file system or its device may keep a copy of the data that an overwrite
// in place does not reach.

#include <string>
#include <vector>

#include "platform/storage.h"

// One sentence per fact, in a fixed order, each naming the drive as its mount point (Windows:
// its root) and file system, "/mnt/data (btrfs)". A removable flash device gets its own sentence
// instead of the one for solid-state devices. None for a drive that keeps no copy.
std::vector<std::string> VolumeWarnings(const Platform::StorageFacts& facts);
// How the warnings name a drive: its mount point and file system, as far as they are known.
std::string DriveName(const Platform::StorageFacts& facts);

// The warnings for the drive that holds folder; one that says so when its drive cannot be
// examined.
std::vector<std::string> VolumeWarningsForPath(const std::string& folder);
