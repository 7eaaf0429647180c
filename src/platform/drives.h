#pragma once

// Drives: on POSIX a drive is the mounted file system that holds a path, and its mount point
// plays the part of a drive's root. On Windows a drive is a drive letter A to Z, and its root is
// the letter, ":" and "\".

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

namespace Platform {

// Numbered as the program has always numbered drive kinds.
enum class DriveType {
  Unknown = 0,
  Removable = 1,
  Fixed = 2,
  Network = 3,
  CDRom = 4,
  RamDisk = 5,
};

struct DriveInfo {
  // What names the drive in texts, tables and registry keys. POSIX: the mount point, such as "/"
  // or "/media/usb" (no trailing "/"). Windows: the upper-case drive letter alone, such as "C".
  std::string root;
  std::string device;      // what is mounted: "/dev/sda1", "tmpfs", "server:/share"
  std::string fileSystem;  // "ext4", "tmpfs", "nfs4", ...
  std::string volumeName;  // the file system's label; empty when it has none
  DriveType type = DriveType::Unknown;
  bool floppy = false;  // POSIX: the file system lies on /dev/fd*. Windows: drive A or B.
};

// The folder at the top of the drive named by root (a DriveInfo's root): POSIX the mount point
// itself, Windows the letter followed by ":\" ("C" gives "C:\").
std::string DriveRootFolder(const std::string& root);

// The drive that holds a path: the mount point that is the longest leading part of the path's
// folder, with that folder's links resolved as the system resolves them when it opens the path
// (the last name itself is not followed). Where the folder does not exist, the absolute path as
// written is used. NoSuchDrive when the mount table cannot be read or holds no match.
// Windows: the drive letter of the absolute path ("/" and "\" both separate); NoSuchDrive for a
// network path ("\\server\share\...") and for a letter that has no drive.
std::error_code DriveOfPath(const std::string& path, DriveInfo& drive);

// The drives a person would call disks (block devices, RAM disks, network file systems), in the
// order of the mount table; pseudo file systems and read-only images are left out. Windows: the
// letters that hold a drive of a known kind, A to Z.
std::vector<DriveInfo> ListDrives();

struct DriveSpace {
  // POSIX from statvfs; Windows from GetDiskFreeSpace(Ex) and the volume's serial number.
  std::int64_t clusterSize = 0;     // f_bsize; sectors per cluster x bytes per sector
  std::int64_t availableBytes = 0;  // f_bavail x f_frsize: free bytes this user may fill
  // Every free byte, also those this user may not fill: f_bfree x f_frsize, with the blocks that
  // the file system reserves for the administrator; Windows: all free bytes of the volume, also
  // those beyond the user's quota.
  std::int64_t freeBytes = 0;
  std::int64_t totalBytes = 0;     // f_blocks x f_frsize
  std::uint32_t serialNumber = 0;  // from the file system id; the volume serial number
};

// Asks the file system that holds root; an error when it does not answer (the drive is not ready).
// Windows: root is a drive as "C", "c", "C:" or "C:\"; a drive without a medium gives an error,
// never the system's request to insert a disk.
std::error_code QueryDriveSpace(const std::string& root, DriveSpace& space);

// The space of the file system that holds folder, which may be another than its drive's where a
// volume is mounted in a folder of the drive. POSIX: statvfs of the folder. Windows: the free space
// of the folder (GetDiskFreeSpaceEx follows volumes mounted in folders) and the cluster size and
// serial number of the volume that holds it.
std::error_code QueryFolderSpace(const std::string& folder, DriveSpace& space);

// True when the program may fill the blocks that a file system reserves for the administrator:
// POSIX when it runs as root. Windows reserves no blocks that way, so there it is always true.
bool MayFillReservedBlocks();

}  // namespace Platform
