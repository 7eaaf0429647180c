#pragma once

// What sysfs and udev tell about the block device under a mounted file system. The folders are
// parameters so that a made-up tree can stand in for /sys and /dev/disk/by-label.

#include <string>

namespace Platform::BlockDevices {

// The disk of a block device as sysfs describes it.
struct DiskFacts {
  bool found = false;       // the device and its disk are listed
  bool removable = false;   // the disk's "removable" file says 1
  bool rotational = true;   // the disk's "queue/rotational" file does not say 0
  bool memoryCard = false;  // an MMC or SD card ("mmcblk0"), which the kernel never calls removable
};

// The disk of the block device with that kernel name ("sdb1", "sdb", "mmcblk0p1"):
// /sys/class/block/<name> is followed and a partition is taken to its disk (the folder above
// it). A name that is not a single name, or a device that is not listed, gives found = false.
DiskFacts ReadDiskFacts(const std::string& kernelName, const std::string& sysFolder = "/sys");

// True when the disk of the block device with that kernel name is removable (see ReadDiskFacts).
bool IsRemovableDisk(const std::string& kernelName, const std::string& sysFolder = "/sys");

// The label of the file system on a device: the name of the link in the by-label folder that
// resolves to the same node as the device, with udev's "\x20" escapes decoded; empty when none.
std::string VolumeLabel(const std::string& device,
                        const std::string& byLabelFolder = "/dev/disk/by-label");

}  // namespace Platform::BlockDevices
