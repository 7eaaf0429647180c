#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/posix/block_devices.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/proc_text.h"
#include "platform/program.h"

namespace Platform {
namespace {

std::optional<std::string> ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

// The path with every link resolved; empty when some part of it does not exist.
std::string ResolvedPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                       &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

std::string LastName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path as the system reaches it: the folder that holds it with its links resolved, then the
// last name as written, since that name is never followed.
std::string LocatePath(const std::string& path) {
  std::string absolute = AbsolutePath(path);
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  if (absolute.empty() || absolute == "/") return absolute;

  const std::size_t slash = absolute.rfind('/');
  const std::string folder = slash == 0 ? "/" : absolute.substr(0, slash);
  const std::string name = absolute.substr(slash + 1);
  if (name == "..") {
    // ".." is no link: it names the folder above, wherever the links lead.
    const std::string resolved = ResolvedPath(absolute);
    return resolved.empty() ? absolute : resolved;
  }
  const std::string resolvedFolder = ResolvedPath(folder);
  if (resolvedFolder.empty()) return absolute;
  return resolvedFolder == "/" ? "/" + name : resolvedFolder + "/" + name;
}

bool SourceIsBlockDevice(const std::string& source) {
  if (!source.starts_with("/dev/")) return false;
  struct stat node {};
  return ::stat(source.c_str(), &node) == 0 && S_ISBLK(node.st_mode);
}

DriveInfo MakeDrive(const MountTable::MountEntry& mount, bool onBlockDevice) {
  DriveInfo drive;
  drive.root = mount.mountPoint;
  drive.device = mount.source;
  drive.fileSystem = mount.fileSystem;
  bool removable = false;
  if (onBlockDevice) {
    removable = BlockDevices::IsRemovableDisk(LastName(ResolvedPath(mount.source)));
    drive.volumeName = BlockDevices::VolumeLabel(mount.source);
  }
  drive.type = MountTable::ClassifyDrive(mount.fileSystem, removable);
  drive.floppy = mount.source.starts_with("/dev/fd");
  return drive;
}

std::optional<std::vector<MountTable::MountEntry>> ReadMountTable() {
  const auto text = ReadTextFile("/proc/self/mountinfo");
  if (!text) return std::nullopt;
  return MountTable::ParseMountInfo(*text);
}

std::int64_t BytesOf(std::uint64_t count, std::uint64_t unit) {
  constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (unit != 0 && count > kLargest / unit) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(count * unit);
}

}  // namespace

namespace BlockDevices {

bool IsRemovableDisk(const std::string& kernelName, const std::string& sysFolder) {
  if (kernelName.empty() || kernelName == "." || kernelName == ".." ||
      kernelName.find('/') != std::string::npos)
    return false;
  std::string device = ResolvedPath(sysFolder + "/class/block/" + kernelName);
  if (device.empty()) return false;
  struct stat partition {};
  if (::stat((device + "/partition").c_str(), &partition) == 0) {
    const std::size_t slash = device.rfind('/');
    if (slash == std::string::npos || slash == 0) return false;
    device.resize(slash);
  }
  const auto removable = ReadTextFile(device + "/removable");
  return removable && removable->starts_with("1");
}

std::string VolumeLabel(const std::string& device, const std::string& byLabelFolder) {
  const std::string node = ResolvedPath(device);
  if (node.empty()) return {};
  struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
  };
  std::unique_ptr<DIR, FolderCloser> folder(::opendir(byLabelFolder.c_str()));
  if (!folder) return {};
  while (const dirent* entry = ::readdir(folder.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (ResolvedPath(byLabelFolder + "/" + name) == node) return ProcText::DecodeHexEscapes(name);
  }
  return {};
}

}  // namespace BlockDevices

std::error_code DriveOfPath(const std::string& path, DriveInfo& drive) {
  drive = {};
  const auto mounts = ReadMountTable();
  if (!mounts) return PlatformErrc::NoSuchDrive;
  const auto holder = MountTable::FindHoldingMount(*mounts, LocatePath(path));
  if (!holder) return PlatformErrc::NoSuchDrive;
  const auto& mount = (*mounts)[*holder];
  drive = MakeDrive(mount, SourceIsBlockDevice(mount.source));
  return {};
}

std::vector<DriveInfo> ListDrives() {
  const auto mounts = ReadMountTable();
  if (!mounts) return {};
  std::vector<MountTable::MountFacts> facts;
  facts.reserve(mounts->size());
  for (const auto& mount : *mounts) {
    MountTable::MountFacts fact;
    fact.sourceIsBlockDevice = SourceIsBlockDevice(mount.source);
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
  const auto id = static_cast<std::uint64_t>(info.f_fsid);
  space.serialNumber = static_cast<std::uint32_t>(id ^ (id >> 32));
  return {};
}

std::string DriveRootFolder(const std::string& root) { return root; }

}  // namespace Platform
