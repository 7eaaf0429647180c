#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/posix/block_devices.h"
#include "platform/posix/mount_lookup.h"
#include "platform/posix/mount_table.h"

namespace Platform {
namespace {

DriveInfo MakeDrive(const MountTable::MountEntry& mount, bool onBlockDevice) {
  DriveInfo drive;
  drive.root = mount.mountPoint;
  drive.device = mount.source;
  drive.fileSystem = mount.fileSystem;
  bool removable = false;
  if (onBlockDevice) {
    removable = BlockDevices::IsRemovableDisk(MountLookup::KernelName(mount.source));
    drive.volumeName = BlockDevices::VolumeLabel(mount.source);
  }
  drive.type = MountTable::ClassifyDrive(mount.fileSystem, removable);
  drive.floppy = mount.source.starts_with("/dev/fd");
  return drive;
}

std::int64_t BytesOf(std::uint64_t count, std::uint64_t unit) {
  constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (unit != 0 && count > kLargest / unit) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(count * unit);
}

}  // namespace

std::error_code DriveOfPath(const std::string& path, DriveInfo& drive) {
  drive = {};
  const auto mount = MountLookup::MountHolding(path);
  if (!mount) return PlatformErrc::NoSuchDrive;
  drive = MakeDrive(*mount, MountLookup::SourceIsBlockDevice(mount->source));
  return {};
}

std::vector<DriveInfo> ListDrives() {
  const auto mounts = MountLookup::ReadMountTable();
  if (!mounts) return {};
  std::vector<MountTable::MountFacts> facts;
  facts.reserve(mounts->size());
  for (const auto& mount : *mounts) {
    MountTable::MountFacts fact;
    fact.sourceIsBlockDevice = MountLookup::SourceIsBlockDevice(mount.source);
    struct stat point {};
    fact.mountPointIsFolder =
        ::lstat(mount.mountPoint.c_str(), &point) == 0 && S_ISDIR(point.st_mode);
    facts.push_back(fact);
  }
  std::vector<DriveInfo> drives;
  for (const std::size_t index : MountTable::SelectDrives(*mounts, facts))
    drives.push_back(MakeDrive((*mounts)[index], facts[index].sourceIsBlockDevice));
  return drives;
}

std::error_code QueryDriveSpace(const std::string& root, DriveSpace& space) {
  space = {};
  struct statvfs info {};
  if (::statvfs(root.c_str(), &info) != 0) return {errno, std::system_category()};
  space.clusterSize = BytesOf(info.f_bsize, 1);
  space.availableBytes = BytesOf(info.f_bavail, info.f_frsize);
  space.totalBytes = BytesOf(info.f_blocks, info.f_frsize);
  space.freeBytes = BytesOf(info.f_bfree, info.f_frsize);
  const auto id = static_cast<std::uint64_t>(info.f_fsid);
  space.serialNumber = static_cast<std::uint32_t>(id ^ (id >> 32));
  return {};
}

std::string DriveRootFolder(const std::string& root) {
  return root;
}

std::error_code QueryFolderSpace(const std::string& folder, DriveSpace& space) {
  // statvfs answers for the file system of any path it is given.
  return QueryDriveSpace(folder, space);
}

bool MayFillReservedBlocks() {
  return ::geteuid() == 0;
}

}  // namespace Platform
