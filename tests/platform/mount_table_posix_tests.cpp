#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/posix/block_devices.h"
#include "platform/posix/mount_table.h"
#include "support/temp_folder.h"

namespace {

using Platform::DriveType;
using Platform::MountTable::FindHoldingMount;
using Platform::MountTable::MountEntry;
using Platform::MountTable::MountFacts;
using Platform::MountTable::ParseMountInfo;
using TestSupport::TempFolder;
using TestSupport::WriteFile;

MountEntry Mount(std::string deviceNumber, std::string root, std::string mountPoint,
                 std::string fileSystem, std::string source) {
  return {0, std::move(deviceNumber), std::move(root), std::move(mountPoint),
          std::move(fileSystem), std::move(source), "", ""};
}

// Fields are read across the optional ones and escapes are decoded; damaged lines are passed
// over, an empty source is kept empty and an escape that is no octal byte stays as written.
TEST(MountInfo, FieldsAreReadAndDecodedAndDamagedLinesArePassedOver) {
  const auto mounts = ParseMountInfo(
      "27 1 254:0 / / rw,relatime shared:1 master:7 - ext4 /dev/vda rw,data=journal\n"
      "40 27 8:17 /data /media/My\\040Disk\\011x rw - vfat /dev/sdb1 rw\n"
      "41 27 0:50 / /mnt/back\\134slash rw - fuse.sshfs me@host:/srv\\040files rw\n"
      "\n"
      "garbage\n"
      "30 27 0:40 / /no/separator rw shared:3 ext4 /dev/sdc1 rw\n"
      "31 27 0:41 / /no/type rw -\n"
      "32 27 0:42 / relative rw - ext4 /dev/sdd1 rw\n"
      "33 27 0:43 / /empty\\040source rw - fuse  rw,user_id=0\n"
      "34 27 0:44 / /\\7bad\\400escape rw - tmpfs tmpfs rw");
  std::vector<std::vector<std::string>> fields;
  for (const MountEntry& m : mounts)
    fields.push_back({m.deviceNumber, m.root, m.mountPoint, m.fileSystem, m.source});
  EXPECT_EQ(fields, (std::vector<std::vector<std::string>>{
                        {"254:0", "/", "/", "ext4", "/dev/vda"},
                        {"8:17", "/data", "/media/My Disk\tx", "vfat", "/dev/sdb1"},
                        {"0:50", "/", "/mnt/back\\slash", "fuse.sshfs", "me@host:/srv files"},
                        {"0:43", "/", "/empty source", "fuse", ""},
                        {"0:44", "/", "/\\7bad\\400escape", "tmpfs", "tmpfs"}}));
  ASSERT_EQ(mounts.size(), 5u);
  EXPECT_EQ(mounts[0].mountId, 27u);
  EXPECT_EQ(mounts[0].mountOptions, "rw,relatime");
  EXPECT_EQ(mounts[0].superOptions, "rw,data=journal");
  EXPECT_EQ(mounts[3].superOptions, "rw,user_id=0");
}

TEST(MountInfo, AnOptionMatchesAloneOrWithAValueButNeverAsAPartOfAnother) {
  using Platform::MountTable::HasOption;
  EXPECT_TRUE(HasOption("rw,nodatacow,ssd", "nodatacow"));
  EXPECT_TRUE(HasOption("rw,compress=zstd:3", "compress"));
  EXPECT_TRUE(HasOption("data=journal", "data=journal"));
  EXPECT_FALSE(HasOption("rw,compress-force=zstd", "compress"));
  EXPECT_FALSE(HasOption("rw,datacow", "nodatacow"));
  EXPECT_FALSE(HasOption("rw,data=ordered", "data=journal"));
  EXPECT_FALSE(HasOption("", "rw"));
}

// By whole names; of mounts on the same mount point the last listed covers the others.
TEST(MountTable, TheLongestMountPointHoldsThePath) {
  const std::vector<MountEntry> mounts = {
      Mount("8:1", "/", "/", "ext4", "/dev/sda1"),
      Mount("8:2", "/", "/home", "ext4", "/dev/sda2"),
      Mount("8:3", "/", "/home/a/b", "ext4", "/dev/sda3"),
      Mount("8:17", "/", "/mnt", "vfat", "/dev/sdb1"),
      Mount("0:60", "/", "/mnt", "tmpfs", "tmpfs"),
      Mount("8:33", "/", "/mn", "ext4", "/dev/sdc1"),
  };
  const std::pair<const char*, std::optional<std::size_t>> rows[] = {
      {"/home", 1},       {"/home/a", 1}, {"/home/a/b/c", 2}, {"/home/a/bc", 1},
      {"/homework/x", 0}, {"/", 0},       {"/mnt/file", 4},   {"home/a", std::nullopt}};
  for (const auto& [path, expected] : rows)
    EXPECT_EQ(FindHoldingMount(mounts, path), expected) << path;
  EXPECT_EQ(FindHoldingMount({}, "/home"), std::nullopt);
}

TEST(DriveType, FollowsTheFileSystemThenTheDisk) {
  using Platform::MountTable::ClassifyDrive;
  EXPECT_EQ(ClassifyDrive("tmpfs", false), DriveType::RamDisk);
  EXPECT_EQ(ClassifyDrive("ramfs", false), DriveType::RamDisk);
  EXPECT_EQ(ClassifyDrive("iso9660", true), DriveType::CDRom);
  EXPECT_EQ(ClassifyDrive("udf", false), DriveType::CDRom);
  for (const char* network : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs", "sshfs"})
    EXPECT_EQ(ClassifyDrive(network, false), DriveType::Network) << network;
  EXPECT_EQ(ClassifyDrive("vfat", true), DriveType::Removable);
  EXPECT_EQ(ClassifyDrive("ext4", false), DriveType::Fixed);
  EXPECT_EQ(ClassifyDrive("fuse", false), DriveType::Fixed);
}

TEST(DriveList, HoldsDisksRamDisksAndNetworkDrivesInTableOrder) {
  const std::vector<MountEntry> mounts = {
      /* 0 */ Mount("0:21", "/", "/proc", "proc", "proc"),
      /* 1 */ Mount("0:22", "/", "/sys", "sysfs", "sysfs"),
      /* 2 */ Mount("0:5", "/", "/dev", "devtmpfs", "udev"),
      /* 3 */ Mount("0:26", "/", "/dev/pts", "devpts", "devpts"),
      /* 4 */ Mount("0:23", "/", "/dev/shm", "tmpfs", "tmpfs"),
      /* 5 */ Mount("0:24", "/", "/run", "tmpfs", "tmpfs"),
      /* 6 */ Mount("0:27", "/", "/sys/fs/cgroup", "cgroup2", "cgroup2"),
      /* 7 */ Mount("0:28", "/", "/dev/mqueue", "mqueue", "mqueue"),
      /* 8 */ Mount("254:1", "/", "/", "ext4", "/dev/vda1"),
      /* 9 */ Mount("7:0", "/", "/snap/core/1", "squashfs", "/dev/loop0"),
      /* 10 */ Mount("0:40", "/", "/tmp", "tmpfs", "tmpfs"),
      /* 11 */ Mount("0:41", "/", "/mnt/share", "nfs4", "server:/share"),
      /* 12 */ Mount("0:42", "/", "/mnt/ssh", "fuse.sshfs", "me@host:/"),
      /* 13 */ Mount("254:1", "/etc/hostname", "/etc/hostname", "ext4", "/dev/vda1"),
      /* 14 */ Mount("8:17", "/", "/media/usb", "vfat", "/dev/sdb1"),
      /* 15 */ Mount("8:17", "/photos", "/home/me/photos", "vfat", "/dev/sdb1"),
      /* 16 */ Mount("11:0", "/", "/media/cdrom", "iso9660", "/dev/sr0"),
      /* 17 */ Mount("0:43", "/", "/run/user/1000", "tmpfs", "tmpfs"),
      /* 18 */ Mount("0:44", "/", "/var/lib/x", "overlay", "overlay"),
  };
  std::vector<MountFacts> facts(mounts.size());
  for (const std::size_t i : {8, 9, 13, 14, 15, 16}) facts[i].sourceIsBlockDevice = true;
  for (std::size_t i = 0; i < facts.size(); ++i) facts[i].mountPointIsFolder = i != 13;

  EXPECT_EQ(Platform::MountTable::SelectDrives(mounts, facts),
            (std::vector<std::size_t>{8, 10, 11, 12, 14, 16}));
}

TEST(DriveList, KeepsSubvolumesButNotCoveredOrRepeatedMounts) {
  const std::vector<MountEntry> mounts = {
      /* 0 */ Mount("0:30", "/@", "/", "btrfs", "/dev/sda2"),
      /* 1 */ Mount("0:30", "/@home", "/home", "btrfs", "/dev/sda2"),
      /* 2 */ Mount("0:30", "/@home/me/work", "/srv/work", "btrfs", "/dev/sda2"),
      /* 3 */ Mount("8:17", "/", "/mnt", "ext4", "/dev/sdb1"),
      /* 4 */ Mount("8:33", "/", "/mnt", "ext4", "/dev/sdc1"),
      /* 5 */ Mount("8:33", "/", "/media/again", "ext4", "/dev/sdc1"),
      /* 6 */ Mount("0:50", "/", "/zpool", "zfs", "pool/data"),
  };
  std::vector<MountFacts> facts(mounts.size(), MountFacts{true, true});
  facts[6].sourceIsBlockDevice = false;

  EXPECT_EQ(Platform::MountTable::SelectDrives(mounts, facts),
            (std::vector<std::size_t>{0, 1, 4, 6}));
}

TEST(BlockDevices, APartitionIsTakenToItsDiskForWhetherItIsRemovableAndRotates) {
  TempFolder sys;
  const std::string disks = sys / "devices/pci0/usb1/block/";
  // A partition's own queue says nothing: the disk's counts.
  const std::pair<const char*, const char*> files[] = {
      {"sdb/removable", "1\n"},           {"sdb/queue/rotational", "0\n"},
      {"sdb/sdb1/partition", "1\n"},      {"sda/removable", "0\n"},
      {"sda/queue/rotational", "1\n"},    {"sda/sda1/partition", "1\n"},
      {"sda/sda1/queue/rotational", "0\n"}, {"mmcblk0/removable", "0\n"},
      {"mmcblk0/queue/rotational", "0\n"}, {"mmcblk0/mmcblk0p1/partition", "1\n"}};
  for (const auto& [name, content] : files) {
    std::filesystem::create_directories(std::filesystem::path(disks + name).parent_path());
    WriteFile(disks + name, content);
  }
  std::filesystem::create_directories(sys / "class/block");
  for (const std::string name : {"sdb/sdb1", "sdb", "sda/sda1", "mmcblk0/mmcblk0p1"}) {
    const std::string link = sys / "class/block/" + name.substr(name.rfind('/') + 1);
    ASSERT_EQ(::symlink(("../../devices/pci0/usb1/block/" + name).c_str(), link.c_str()), 0);
  }

  const struct {
    const char* name;
    bool found, removable, rotational, memoryCard;
  } cases[] = {
      {"sdb1", true, true, false, false},      {"sdb", true, true, false, false},
      {"sda1", true, false, true, false},      {"mmcblk0p1", true, false, false, true},
      {"sdz", false, false, true, false},      {"..", false, false, true, false},
      {"../../devices/pci0/usb1/block/sdb", false, false, true, false},
  };
  for (const auto& expected : cases) {
    const auto disk = Platform::BlockDevices::ReadDiskFacts(expected.name, sys.Path());
    EXPECT_EQ(disk.found, expected.found) << expected.name;
    EXPECT_EQ(disk.removable, expected.removable) << expected.name;
    EXPECT_EQ(disk.rotational, expected.rotational) << expected.name;
    EXPECT_EQ(disk.memoryCard, expected.memoryCard) << expected.name;
    EXPECT_EQ(Platform::BlockDevices::IsRemovableDisk(expected.name, sys.Path()),
              expected.removable)
        << expected.name;
  }
}

TEST(BlockDevices, TheVolumeNameIsTheDecodedLabelThatLeadsToTheDevice) {
  TempFolder root;
  ASSERT_EQ(::mkdir((root / "dev").c_str(), 0700), 0);
  ASSERT_EQ(::mkdir((root / "by-label").c_str(), 0700), 0);
  WriteFile(root / "dev/sdb1", "");
  WriteFile(root / "dev/sdc1", "");
  ASSERT_EQ(::symlink("../dev/sdb1", (root / "by-label/My\\x20Disk\\x2f2").c_str()), 0);
  ASSERT_EQ(::symlink("sdb1", (root / "dev/usbstick").c_str()), 0);

  using Platform::BlockDevices::VolumeLabel;
  EXPECT_EQ(VolumeLabel(root / "dev/sdb1", root / "by-label"), "My Disk/2");
  EXPECT_EQ(VolumeLabel(root / "dev/usbstick", root / "by-label"), "My Disk/2");
  EXPECT_EQ(VolumeLabel(root / "dev/sdc1", root / "by-label"), "");
  EXPECT_EQ(VolumeLabel(root / "dev/sdb1", root / "absent"), "");
}

TEST(DriveOfPath, FollowsLinksInTheFolderButNotTheLastName) {
  TempFolder folder;
  ASSERT_EQ(::symlink("/proc", (folder / "to-proc").c_str()), 0);
  Platform::DriveInfo home;
  ASSERT_FALSE(Platform::DriveOfPath(folder.Path(), home));

  Platform::DriveInfo drive;
  ASSERT_FALSE(Platform::DriveOfPath(folder / "to-proc/self", drive));
  EXPECT_EQ(drive.root, "/proc");
  EXPECT_EQ(drive.fileSystem, "proc");
  ASSERT_FALSE(Platform::DriveOfPath(folder / "to-proc", drive));
  EXPECT_EQ(drive.root, home.root);
  EXPECT_EQ(drive.device, home.device);
  // A folder that does not exist is taken as written.
  ASSERT_FALSE(Platform::DriveOfPath("/proc/no-such-folder/x", drive));
  EXPECT_EQ(drive.root, "/proc");
}

TEST(DriveList, LeavesOutPseudoFileSystemsOfThisSystem) {
  for (const auto& drive : Platform::ListDrives()) {
    for (const char* pseudo :
         {"proc", "sysfs", "cgroup", "cgroup2", "devpts", "devtmpfs", "mqueue", "squashfs"})
      EXPECT_NE(drive.fileSystem, pseudo) << drive.root;
    struct stat point {};
    EXPECT_TRUE(::lstat(drive.root.c_str(), &point) == 0 && S_ISDIR(point.st_mode)) << drive.root;
  }
}

TEST(DriveSpace, ComesFromTheFileSystemAndAMissingRootIsAnError) {
  TempFolder folder;
  Platform::DriveSpace space;
  ASSERT_FALSE(Platform::QueryDriveSpace(folder.Path(), space));
  EXPECT_GT(space.clusterSize, 0);
  EXPECT_GT(space.totalBytes, 0);
  EXPECT_LE(space.availableBytes, space.totalBytes);
  EXPECT_EQ(Platform::QueryDriveSpace(folder / "absent", space),
            std::errc::no_such_file_or_directory);
  EXPECT_EQ(space.totalBytes, 0);
}

}  // namespace
