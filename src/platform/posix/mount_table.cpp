#include "platform/posix/mount_table.h"

#include <array>
#include <cstdlib>

#include "platform/posix/proc_text.h"

namespace Platform::MountTable {
namespace {

// The fixed fields of a mountinfo line before the optional ones.
constexpr std::size_t kFixedFields = 6;

template <std::size_t N>
bool IsOneOf(std::string_view value, const std::array<std::string_view, N>& names) {
  for (const auto name : names)
    if (value == name) return true;
  return false;
}

std::string_view WithoutTrailingSeparators(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return path;
}

// The folders where the system keeps its own RAM file systems (/dev/shm, /run/lock, ...).
bool LiesInRuntimeFolder(std::string_view mountPoint) {
  static constexpr std::array<std::string_view, 4> kRuntimeFolders = {"/dev", "/proc", "/sys",
                                                                      "/run"};
  for (const auto folder : kRuntimeFolders)
    if (MountPointHolds(folder, mountPoint)) return true;
  return false;
}

bool IsDiskKind(const MountEntry& mount, const MountFacts& facts) {
  if (IsImageFileSystem(mount.fileSystem)) return false;
  if (IsRamFileSystem(mount.fileSystem)) return !LiesInRuntimeFolder(mount.mountPoint);
  if (IsNetworkFileSystem(mount.fileSystem)) return true;
  // ZFS names its data sets ("pool/home") rather than a device, yet lies on disks.
  if (mount.fileSystem == "zfs") return true;
  return facts.sourceIsBlockDevice;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> mounts;
  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    const auto fields = ProcText::SplitFields(text.substr(lineStart, lineEnd - lineStart));
    lineStart = lineEnd + 1;
    if (fields.size() < kFixedFields + 3) continue;

    // Optional fields ("shared:1", "master:2", ...) run up to a lone "-".
    std::size_t separator = kFixedFields;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    // After it: the file system type, the source and the super options. An empty source
    // leaves no field of its own, so two fields mean type and options.
    const std::size_t trailing = separator < fields.size() ? fields.size() - separator - 1 : 0;
    if (trailing < 2) continue;

    MountEntry mount;
    mount.mountId = std::strtoull(std::string(fields[0]).c_str(), nullptr, 10);
    mount.mountOptions = std::string(fields[5]);
    mount.superOptions = std::string(fields[separator + trailing]);
    mount.deviceNumber = std::string(fields[2]);
    mount.root = ProcText::DecodeOctalEscapes(fields[3]);
    mount.mountPoint = ProcText::DecodeOctalEscapes(fields[4]);
    mount.fileSystem = ProcText::DecodeOctalEscapes(fields[separator + 1]);
    if (trailing >= 3) mount.source = ProcText::DecodeOctalEscapes(fields[separator + 2]);
    if (mount.mountPoint.empty() || mount.mountPoint.front() != '/') continue;
    mounts.push_back(std::move(mount));
  }
  return mounts;
}

bool MountPointHolds(std::string_view mountPoint, std::string_view path) {
  mountPoint = WithoutTrailingSeparators(mountPoint);
  if (mountPoint.empty() || path.empty() || path.front() != '/') return false;
  if (mountPoint == "/") return true;
  if (!path.starts_with(mountPoint)) return false;
  return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

std::optional<std::size_t> FindHoldingMount(const std::vector<MountEntry>& mounts,
                                            std::string_view path) {
  std::optional<std::size_t> best;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < mounts.size(); ++i) {
    if (!MountPointHolds(mounts[i].mountPoint, path)) continue;
    const std::size_t length = WithoutTrailingSeparators(mounts[i].mountPoint).size();
    if (!best || length >= bestLength) {
      best = i;
      bestLength = length;
    }
  }
  return best;
}

bool HasOption(std::string_view options, std::string_view option) {
  while (!options.empty()) {
    const std::size_t comma = options.find(',');
    const std::string_view one = options.substr(0, comma);
    if (one == option || (one.starts_with(option) && one.size() > option.size() &&
                          one[option.size()] == '='))
      return true;
    if (comma == std::string_view::npos) break;
    options.remove_prefix(comma + 1);
  }
  return false;
}

bool IsRamFileSystem(std::string_view fileSystem) {
  return fileSystem == "tmpfs" || fileSystem == "ramfs";
}

bool IsNetworkFileSystem(std::string_view fileSystem) {
  static constexpr std::array<std::string_view, 7> kNetwork = {
      "nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "sshfs"};
  return IsOneOf(fileSystem, kNetwork);
}

bool IsImageFileSystem(std::string_view fileSystem) {
  static constexpr std::array<std::string_view, 4> kImages = {"squashfs", "erofs", "cramfs",
                                                              "romfs"};
  return IsOneOf(fileSystem, kImages);
}

DriveType ClassifyDrive(std::string_view fileSystem, bool removable) {
  if (IsRamFileSystem(fileSystem)) return DriveType::RamDisk;
  if (fileSystem == "iso9660" || fileSystem == "udf") return DriveType::CDRom;
  if (IsNetworkFileSystem(fileSystem)) return DriveType::Network;
  return removable ? DriveType::Removable : DriveType::Fixed;
}

std::vector<std::size_t> SelectDrives(const std::vector<MountEntry>& mounts,
                                      const std::vector<MountFacts>& facts) {
  std::vector<std::size_t> kept;
  for (std::size_t i = 0; i < mounts.size() && i < facts.size(); ++i) {
    if (!facts[i].mountPointIsFolder || !IsDiskKind(mounts[i], facts[i])) continue;
    bool covered = false;
    for (std::size_t j = i + 1; j < mounts.size() && !covered; ++j)
      covered = WithoutTrailingSeparators(mounts[j].mountPoint) ==
                WithoutTrailingSeparators(mounts[i].mountPoint);
    if (!covered) kept.push_back(i);
  }

  // A bind mount shows a folder of a file system again; the same disk is listed once, by the
  // entry that shows the most of it (the first one where two show the same part).
  std::vector<std::size_t> drives;
  for (const std::size_t i : kept) {
    bool repeats = false;
    for (const std::size_t j : kept) {
      if (j == i || mounts[j].deviceNumber != mounts[i].deviceNumber) continue;
      if (!MountPointHolds(mounts[j].root, mounts[i].root)) continue;
      if (mounts[j].root != mounts[i].root || j < i) {
        repeats = true;
        break;
      }
    }
    if (!repeats) drives.push_back(i);
  }
  return drives;
}

StorageFacts StorageFactsOf(const MountEntry& mount, const BlockDevices::DiskFacts& disk) {
  static constexpr std::array<std::string_view, 4> kCopyOnWrite = {"zfs", "bcachefs", "f2fs",
                                                                   "nilfs2"};
  const std::string_view fileSystem = mount.fileSystem;
  const std::string_view options = mount.superOptions;
  StorageFacts facts;
  facts.fileSystem = mount.fileSystem;
  facts.mountPoint = mount.mountPoint;
  facts.device = mount.source;
  facts.copyOnWrite = IsOneOf(fileSystem, kCopyOnWrite) ||
                      (fileSystem == "btrfs" && !HasOption(options, "nodatacow"));
  facts.dataJournaled =
      (fileSystem == "ext3" || fileSystem == "ext4") && HasOption(options, "data=journal");
  facts.compressed = HasOption(options, "compress") || HasOption(options, "compress-force") ||
                     HasOption(options, "compression") ||
                     HasOption(options, "background_compression") ||
                     HasOption(options, "compress_algorithm");
  facts.network = IsNetworkFileSystem(fileSystem);
  // fuseblk: a FUSE program on a block device (ntfs-3g, exfat-fuse).
  facts.userSpace =
      fileSystem == "fuse" || fileSystem == "fuseblk" || fileSystem.starts_with("fuse.");
  facts.memory = IsRamFileSystem(fileSystem);
  facts.solidState = disk.found && !disk.rotational;
  facts.removableFlash = facts.solidState && (disk.removable || disk.memoryCard);
  return facts;
}

}  // namespace Platform::MountTable
