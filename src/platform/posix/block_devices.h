#pragma once

// What sysfs and udev tell about the block device under a mounted file system. The folders are
// parameters so that a made-up tree can stand in for /sys and /dev/disk/by-label.

#include <string>

namespace Platform::BlockDevices {

// True when the disk of the block device with that kernel name ("sdb1", "sdb", "mmcblk0p1") is
// removable: /sys/class/block/<name> is followed, a partition is taken to its disk (the folder
// above it), and the disk's "removable" file says 1.
bool IsRemovableDisk(const std::string& kernelName, const std::string& sysFolder = "/sys");

// The label of the file system on a device: the name of the link in the by-label folder that
// resolves to the same node as the device, with udev's "\x20" escapes decoded; empty when none.
std::string VolumeLabel(const std::string& device,
                        const std::string& byLabelFolder = "/dev/disk/by-label");

}  // namespace Platform::BlockDevices
