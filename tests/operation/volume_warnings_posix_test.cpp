#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operation/volume_warnings.h"
#include "platform/posix/mount_table.h"

namespace {

using Platform::BlockDevices::DiskFacts;
using Warnings = std::vector<std::string>;

// The facts that give warnings, by name.
std::string Flags(const Platform::StorageFacts& f) {
  return std::string(f.copyOnWrite ? "cow " : "") + (f.dataJournaled ? "journal " : "") +
         (f.compressed ? "compress " : "") + (f.solidState ? "ssd " : "") +
         (f.removableFlash ? "removable " : "") + (f.network ? "network " : "") +
         (f.userSpace ? "fuse " : "") + (f.memory ? "memory " : "");
}

TEST(VolumeWarnings, EachMountLineAndDiskGivesItsFactsAndEachFactItsWarningNamingTheDrive) {
  constexpr DiskFacts kNoDisk{};
  constexpr DiskFacts kHardDisk{true, false, true, false};
  const struct { const char* mountLine; DiskFacts disk; const char* flags; } cases[] = {
      {"40 1 0:40 / /mnt rw - btrfs /dev/sdc1 rw,space_cache=v2,subvol=/", kHardDisk, "cow "},
      {"40 1 0:40 / / rw - btrfs /dev/nvme0n1 rw,compress=zstd:3", {true, false, false}, "cow compress ssd "},
      {"41 1 0:41 / /srv rw - btrfs /dev/sdd rw,nodatacow,compress-force=lzo", kHardDisk, "compress "},
      {"27 1 254:0 / / rw - ext4 /dev/vda rw,data=journal", kHardDisk, "journal "},
      {"27 1 254:0 / / rw - xfs /dev/vda rw,data=journal", kHardDisk, ""},
      {"50 27 0:50 / /mnt/ram rw - tmpfs tmpfs rw,size=1024k", kNoDisk, "memory "},
      {"51 27 0:51 / /mnt/far rw - fuse.sshfs me@host:/srv rw", kNoDisk, "network fuse "},
      {"53 27 8:17 / /media/stick rw - vfat /dev/sdb1 rw", {true, true, false, false}, "ssd removable "},
      {"54 27 179:1 / /card rw - exfat /dev/mmcblk0p1 rw", {true, false, false, true}, "ssd removable "},
      {"54 27 179:1 / /media/card rw - exfat /dev/sdb1 rw", {true, true, true, false}, ""},
      {"56 27 0:56 / /mnt/ntfs rw - fuseblk /dev/sde1 rw,user_id=0", kHardDisk, "fuse "},
  };
  using namespace Platform::MountTable;
  for (const auto& c : cases)
    EXPECT_EQ(Flags(StorageFactsOf(ParseMountInfo(c.mountLine).at(0), c.disk)), c.flags) << c.mountLine;

  // Every fact but a removable flash device and memory (whose warning the command-line tests check).
  Platform::StorageFacts facts{"NTFS", "C:\\", "", true, true, true, true, true, true, false,
                               true, true, false};
  const std::string flash = "it may keep old copies of the data in blocks it set aside for wear levelling, "
                            "and a purge cannot reach them.";
  Warnings expected{
      "C:\\ (NTFS) is a copy-on-write file system: it writes the new bytes to other blocks, so "
      "the old data of the files may remain on the disk.",
      "C:\\ (NTFS) writes file data to its journal before it writes it in place, so copies of the "
      "old data may remain in the journal.",
      "C:\\ (NTFS) compresses the data it writes: the new bytes may not land where the old ones "
      "lie, so the old data may remain on the disk.",
      "The target on C:\\ (NTFS) is encrypted (EFS): the system may have kept a plain-text "
      "backup copy while it encrypted the files, and that copy may remain on the disk.",
      "The target on C:\\ (NTFS) is sparse: the parts of it that were emptied gave up their "
      "blocks, and the old data of those blocks may remain on the disk.",
      "C:\\ (NTFS) lies on a solid-state or flash device: " + flash,
      "C:\\ (NTFS) is a network file system: the server decides where the data goes, and it may "
      "keep copies in snapshots or backups.",
      "C:\\ (NTFS) is a FUSE file system: a program decides where the data goes, and it may keep "
      "copies of the old data."};
  EXPECT_EQ(VolumeWarnings(facts), expected);
  facts.removableFlash = true;
  expected[5] = "C:\\ (NTFS) lies on a removable flash device (a USB stick or a memory card): " + flash;
  EXPECT_EQ(VolumeWarnings(facts), expected);
}

}  // namespace
