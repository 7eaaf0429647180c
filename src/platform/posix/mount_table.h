#pragma once

// The mount table as /proc/self/mountinfo gives it, and the rules that turn its entries into
// drives. Pure functions on given text and facts, so that any table can be tried.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drives.h"
#include "platform/posix/block_devices.h"
#include "platform/storage.h"

namespace Platform::MountTable {

// One line of mountinfo, with its paths decoded.
struct MountEntry {
  std::uint64_t mountId = 0;  // the mount's id, as statx gives it (STATX_MNT_ID)
  std::string deviceNumber;  // "major:minor" of the mounted file system
  std::string root;          // the folder of that file system that is mounted ("/" for all of it)
  std::string mountPoint;    // where it is mounted
  std::string fileSystem;    // "ext4", "tmpfs", "fuse.sshfs", ...
  std::string source;        // "/dev/sda1", "tmpfs", "server:/share", ...
  std::string mountOptions;  // of this mount: "rw,nosuid,relatime"
  std::string superOptions;  // of the file system: "rw,data=journal", "rw,compress=zstd:3"
};

// True when the comma-separated options hold option, alone ("nodatacow") or with a value
// ("compress" matches "compress=zstd:3").
bool HasOption(std::string_view options, std::string_view option);

// The entries of a mountinfo text in the order listed. Lines that lack a field, or the "-"
// that ends the optional fields, are passed over.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// True when the mount point is the whole absolute path or a leading run of its names:
// "/home" holds "/home" and "/home/a" but not "/homework"; "/" holds every absolute path.
bool MountPointHolds(std::string_view mountPoint, std::string_view path);

// The entry whose mount point is the longest that holds the absolute path; of entries with the
// same mount point the last listed, since it covers the ones before it. Nothing when none holds.
std::optional<std::size_t> FindHoldingMount(const std::vector<MountEntry>& mounts,
                                            std::string_view path);

bool IsRamFileSystem(std::string_view fileSystem);
bool IsNetworkFileSystem(std::string_view fileSystem);
// File systems that are read-only images (squashfs and its kind), never a disk of their own.
bool IsImageFileSystem(std::string_view fileSystem);

// The kind of drive for a file system; removable tells whether its block device's disk is.
DriveType ClassifyDrive(std::string_view fileSystem, bool removable);

// What the system says about one entry, found outside the table.
struct MountFacts {
  bool sourceIsBlockDevice = false;
  bool mountPointIsFolder = false;
};

// The entries (by index, in table order) that a person would call disks: file systems on block
// devices, RAM disks outside the system's runtime folders (/dev, /proc, /sys, /run) and network
// file systems; pseudo file systems, images, mounted files, covered mounts and mounts that show
// again a part of a file system that another listed entry already shows are left out.
// facts[i] belongs to mounts[i].
std::vector<std::size_t> SelectDrives(const std::vector<MountEntry>& mounts,
                                      const std::vector<MountFacts>& facts);

// What the mounted file system and the disk under it do with overwritten data: copy-on-write
// (btrfs unless mounted nodatacow, zfs, bcachefs, f2fs, nilfs2), data=journal of ext3 and ext4,
// compression by a mount option, network and FUSE file systems, RAM file systems; a disk that
// does not rotate is solid-state, and removable flash when it is also removable or a memory card.
// disk is what sysfs tells about the block device that is mounted (found = false for none).
StorageFacts StorageFactsOf(const MountEntry& mount, const BlockDevices::DiskFacts& disk);

}  // namespace Platform::MountTable
