#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operation/volume_warnings.h"
#include "platform/posix/mount_table.h"

namespace {

using Platform::BlockDevices::DiskFacts;
using Warnings = std::vector<std::string>;

constexpr DiskFacts kNoDisk{};
constexpr DiskFacts kHardDisk{true, false, true, false};
constexpr DiskFacts kSolidState{true, false, false, false};
constexpr DiskFacts kUsbStick{true, true, false, false};
constexpr DiskFacts kMemoryCard{true, false, false, true};

const std::string kSolidStateText =
    " lies on a solid-state or flash device: it may keep old copies of the data in blocks it set "
    "aside for wear levelling, and a purge cannot reach them.";

TEST(VolumeWarnings, EachMountLineAndDiskGivesTheWarningsOfWhatMayKeepACopy) {
  const struct {
    const char* mountLine;
    DiskFacts disk;
    Warnings expected;
  } cases[] = {
      {"40 1 0:40 / /mnt/data rw,relatime - btrfs /dev/sdc1 "
       "rw,space_cache=v2,subvolid=5,subvol=/",
       kHardDisk,
       {"/mnt/data (btrfs) is a copy-on-write file system: it writes the new bytes to other "
        "blocks, so the old data of the files may remain on the disk."}},
      {"40 1 0:40 / /mnt/data rw,relatime - btrfs /dev/sdc1 rw,nodatasum,nodatacow,subvol=/",
       kHardDisk,
       {}},
      {"40 1 0:40 / /home rw - btrfs /dev/nvme0n1p2 rw,compress=zstd:3,ssd,subvol=/home",
       kSolidState,
       {"/home (btrfs) is a copy-on-write file system: it writes the new bytes to other blocks, "
        "so the old data of the files may remain on the disk.",
        "/home (btrfs) compresses the data it writes: the new bytes may not land where the old "
        "ones lie, so the old data may remain on the disk.",
        "/home (btrfs)" + kSolidStateText}},
      {"41 1 0:41 / /srv rw - btrfs /dev/sdd rw,nodatacow,compress-force=lzo",
       kHardDisk,
       {"/srv (btrfs) compresses the data it writes: the new bytes may not land where the old "
        "ones lie, so the old data may remain on the disk."}},
      {"27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,data=journal",
       kHardDisk,
       {"/ (ext4) writes file data to its journal before it writes it in place, so copies of the "
        "old data may remain in the journal."}},
      {"27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,data=ordered", kHardDisk, {}},
      {"27 1 254:0 / / rw,relatime - ext4 /dev/nvme0n1p1 rw",
       kSolidState,
       {"/ (ext4)" + kSolidStateText}},
      {"50 27 0:50 / /mnt/ram rw - tmpfs tmpfs rw,size=1024k",
       kNoDisk,
       {"/mnt/ram (tmpfs) keeps its files in memory, which the system may have written to swap, "
        "so copies of the data may remain on the swap device."}},
      {"51 27 0:51 / /mnt/far\\040away rw - fuse.sshfs me@host:/srv rw,user_id=0",
       kNoDisk,
       {"/mnt/far away (fuse.sshfs) is a network file system: the server decides where the data "
        "goes, and it may keep copies in snapshots or backups.",
        "/mnt/far away (fuse.sshfs) is a FUSE file system: a program decides where the data goes, "
        "and it may keep copies of the old data."}},
      {"52 27 0:52 / /net rw - nfs4 server:/export rw,vers=4.2",
       kNoDisk,
       {"/net (nfs4) is a network file system: the server decides where the data goes, and it "
        "may keep copies in snapshots or backups."}},
      {"53 27 8:17 / /media/stick rw - vfat /dev/sdb1 rw,fmask=0022",
       kUsbStick,
       {"/media/stick (vfat) lies on a removable flash device (a USB stick or a memory card): it "
        "may keep old copies of the data in blocks it set aside for wear levelling, and a purge "
        "cannot reach them."}},
      {"54 27 179:1 / /media/card rw - exfat /dev/mmcblk0p1 rw",
       kMemoryCard,
       {"/media/card (exfat) lies on a removable flash device (a USB stick or a memory card): it "
        "may keep old copies of the data in blocks it set aside for wear levelling, and a purge "
        "cannot reach them."}},
      {"55 27 0:55 / /tank rw - zfs tank/data rw,xattr",
       kNoDisk,
       {"/tank (zfs) is a copy-on-write file system: it writes the new bytes to other blocks, so "
        "the old data of the files may remain on the disk."}},
      {"56 27 0:56 / /mnt/ntfs rw - fuseblk /dev/sde1 rw,user_id=0",
       kHardDisk,
       {"/mnt/ntfs (fuseblk) is a FUSE file system: a program decides where the data goes, and "
        "it may keep copies of the old data."}},
  };
  for (const auto& row : cases) {
    const auto mounts = Platform::MountTable::ParseMountInfo(row.mountLine);
    ASSERT_EQ(mounts.size(), 1u) << row.mountLine;
    const Platform::StorageFacts facts = Platform::MountTable::StorageFactsOf(mounts[0], row.disk);
    EXPECT_EQ(facts.device, mounts[0].source);
    EXPECT_EQ(VolumeWarnings(facts), row.expected) << row.mountLine;
  }
}

TEST(VolumeWarnings, WindowsDrivesAndTargetsAreNamedByTheirRoot) {
  Platform::StorageFacts refs;
  refs.fileSystem = "ReFS";
  refs.mountPoint = "D:\\";
  refs.copyOnWrite = true;
  EXPECT_EQ(VolumeWarnings(refs),
            Warnings{"D:\\ (ReFS) is a copy-on-write file system: it writes the new bytes to "
                     "other blocks, so the old data of the files may remain on the disk."});

  Platform::StorageFacts ntfs;
  ntfs.fileSystem = "NTFS";
  ntfs.mountPoint = "C:\\";
  ntfs.compressed = ntfs.encrypted = ntfs.sparse = true;
  EXPECT_EQ(VolumeWarnings(ntfs),
            (Warnings{"C:\\ (NTFS) compresses the data it writes: the new bytes may not land "
                      "where the old ones lie, so the old data may remain on the disk.",
                      "The target on C:\\ (NTFS) is encrypted (EFS): the system may have kept a "
                      "plain-text backup copy while it encrypted the files, and that copy may "
                      "remain on the disk.",
                      "The target on C:\\ (NTFS) is sparse: the parts of it that were emptied "
                      "gave up their blocks, and the old data of those blocks may remain on the "
                      "disk."}));
}

}  // namespace
