#pragma once

// What the drive that holds a path does with the bytes written to it, as far as the system tells:
// whether an overwrite lands on the old bytes, or the file system or the device may keep a copy
// of them elsewhere. The program warns of it before a purge and in a listing's estimate.

#include <string>
#include <system_error>

namespace Platform {

struct StorageFacts {
  std::string fileSystem;  // "ext4", "btrfs", "tmpfs", "fuse.sshfs"; Windows "NTFS", "ReFS"
  std::string mountPoint;  // POSIX: the mount point; Windows: the drive's root ("C:\")
  std::string device;      // POSIX: what is mounted ("/dev/sda1"); Windows: empty
  // The file system writes changed data to new blocks and leaves the old ones (btrfs unless
  // mounted nodatacow, zfs, bcachefs, f2fs, nilfs2; ReFS).
  bool copyOnWrite = false;
  // Data goes to the file system's journal before it is written in place (ext3/ext4 mounted
  // data=journal).
  bool dataJournaled = false;
  // Data is compressed as it is written (a compress mount option; an NTFS compressed target).
  bool compressed = false;
  // Windows: the target is encrypted (EFS) or sparse.
  bool encrypted = false;
  bool sparse = false;
  // The device is solid-state or flash (no rotation, no seek penalty), which moves written
  // blocks about by itself; removableFlash: a removable flash device (USB stick, memory card).
  bool solidState = false;
  bool removableFlash = false;
  bool network = false;    // the data lies on another computer (nfs, cifs, sshfs)
  bool userSpace = false;  // a FUSE file system: a program decides where the data goes
  bool memory = false;     // tmpfs or ramfs: memory, which the system may move to swap
};

// The facts of the drive that holds path (a folder or a file). NoSuchDrive when no drive holds it.
std::error_code QueryStorage(const std::string& path, StorageFacts& facts);

}  // namespace Platform
