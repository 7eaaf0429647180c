// The storage facts of the mounted file system that holds a path: its mount entry, and sysfs for
// the disk under it.

#include "platform/errors.h"
#include "platform/posix/block_devices.h"
#include "platform/posix/mount_lookup.h"
#include "platform/posix/mount_table.h"
#include "platform/storage.h"

namespace Platform {

std::error_code QueryStorage(const std::string& path, StorageFacts& facts) {
  facts = {};
  const auto mount = MountLookup::MountHolding(path);
  if (!mount) return PlatformErrc::NoSuchDrive;
  BlockDevices::DiskFacts disk;
  // A loop device counts as any block device: its own queue tells whether it rotates.
  if (MountLookup::SourceIsBlockDevice(mount->source))
    disk = BlockDevices::ReadDiskFacts(MountLookup::KernelName(mount->source));
  facts = MountTable::StorageFactsOf(*mount, disk);
  return {};
}

}  // namespace Platform
