#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/posix/block_devices.h"
#include "platform/posix/mount_table.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

using namespace Platform::MountTable;
using namespace Platform::BlockDevices;
using namespace TestSupport;
using Platform::DriveType;

static MountEntry Mount(std::string device, std::string root, std::string point, std::string type) {
  return {0, std::move(device), std::move(root), std::move(point), std::move(type), "", "", ""};
}

// Fields are read across the optional ones and escapes are decoded; damaged lines are passed
// over, an empty source is kept empty and an escape that is no octal byte stays as written.
TEST(MountInfo, FieldsAreReadAndDecodedAndDamagedLinesArePassedOver) {
  const auto mounts = ParseMountInfo(
      "27 1 254:0 / / rw,relatime shared:1 master:7 - ext4 /dev/vda rw,data=journal\n"
      "40 27 8:17 /data /media/My\\040Disk\\011x rw - vfat /dev/sdb1 rw\n"
      "41 27 0:50 / /mnt/back\\134slash rw - fuse.sshfs me@host:/srv\\040files rw\n"
      "\ngarbage\n30 27 0:40 / /no/separator rw shared:3 ext4 /dev/sdc1 rw\n"
      "31 27 0:41 / /no/type rw -\n32 27 0:42 / relative rw - ext4 /dev/sdd1 rw\n"
      "33 27 0:43 / /empty\\040source rw - fuse  rw,user_id=0\n"
      "34 27 0:44 / /\\7bad\\400escape rw - tmpfs tmpfs rw");
  std::vector<std::vector<std::string>> fields;
  for (const MountEntry& m : mounts)
    fields.push_back({std::to_string(m.mountId), m.deviceNumber, m.root, m.mountPoint,
                      m.fileSystem, m.source, m.mountOptions, m.superOptions});
  EXPECT_EQ(fields, (std::vector<std::vector<std::string>>{
      {"27", "254:0", "/", "/", "ext4", "/dev/vda", "rw,relatime", "rw,data=journal"},
      {"40", "8:17", "/data", "/media/My Disk\tx", "vfat", "/dev/sdb1", "rw", "rw"},
      {"41", "0:50", "/", "/mnt/back\\slash", "fuse.sshfs", "me@host:/srv files", "rw", "rw"},
      {"33", "0:43", "/", "/empty source", "fuse", "", "rw", "rw,user_id=0"},
      {"34", "0:44", "/", "/\\7bad\\400escape", "tmpfs", "tmpfs", "rw", "rw"}}));
}

// (An option alone, as "nodatacow": volume_warnings_posix_test.cpp.)
TEST(MountInfo, AnOptionMatchesAloneOrWithAValueButNeverAsAPartOfAnother) {
  const struct { const char* options; const char* option; bool has; } rows[] = {
      {"rw,compress=zstd:3", "compress", true}, {"rw,compress-force=zstd", "compress", false},
      {"rw,datacow", "nodatacow", false}, {"rw,data=ordered", "data=journal", false}, {"", "rw", false}};
  for (const auto& row : rows)
    EXPECT_EQ(HasOption(row.options, row.option), row.has) << row.options;
}

// By whole names; of mounts on the same mount point the last listed covers the others.
TEST(MountTable, TheLongestMountPointHoldsThePath) {
  const std::vector<MountEntry> mounts = {
      Mount("8:1", "/", "/", "ext4"),   Mount("8:2", "/", "/home", "ext4"),
      Mount("8:3", "/", "/home/a/b", "ext4"), Mount("8:17", "/", "/mnt", "vfat"),
      Mount("0:60", "/", "/mnt", "tmpfs"), Mount("8:33", "/", "/mn", "ext4")};
  const std::pair<const char*, std::optional<std::size_t>> rows[] = {
      {"/home", 1},       {"/home/a", 1}, {"/home/a/b/c", 2}, {"/home/a/bc", 1},
      {"/homework/x", 0}, {"/", 0},       {"/mnt/file", 4},   {"home/a", std::nullopt}};
  for (const auto& [path, expected] : rows)
    EXPECT_EQ(FindHoldingMount(mounts, path), expected) << path;
}

TEST(DriveType, FollowsTheFileSystemThenTheDisk) {
  using enum DriveType;
  const std::pair<const char*, DriveType> rows[] = {
      {"tmpfs", RamDisk}, {"ramfs", RamDisk}, {"udf", CDRom}, {"iso9660", CDRom}, {"nfs", Network},
      {"sshfs", Network}, {"vfat", Removable}, {"ext4", Fixed}, {"fuse", Fixed}};
  for (const auto& [type, expected] : rows)
    EXPECT_EQ(ClassifyDrive(type, expected == Removable || expected == CDRom), expected) << type;
}

// Disks, RAM disks outside the system's runtime folders and network drives, in table order; a
// mount point covered by a later mount, a file bind mount, an image and a part of a file system
// shown again elsewhere are left out, a subvolume is kept.
TEST(DriveList, HoldsDisksRamDisksAndNetworkDrivesOnceEach) {
  const std::vector<MountEntry> mounts = {
      /* 0 */ Mount("0:21", "/", "/proc", "proc"),     Mount("0:23", "/", "/dev/shm", "tmpfs"),
      /* 2 */ Mount("0:43", "/", "/run/user/1000", "tmpfs"), Mount("0:30", "/@", "/", "btrfs"),
      /* 4 */ Mount("7:0", "/", "/snap/core/1", "squashfs"), Mount("0:40", "/", "/tmp", "tmpfs"),
      /* 6 */ Mount("0:41", "/", "/mnt/share", "nfs4"), Mount("0:30", "/@", "/etc/hostname", "btrfs"),
      /* 8 */ Mount("8:17", "/", "/media/usb", "vfat"), Mount("8:17", "/ph", "/home/me/ph", "vfat"),
      /* 10 */ Mount("0:44", "/", "/var/lib/x", "overlay"), Mount("0:30", "/@home", "/home", "btrfs"),
      /* 12 */ Mount("8:33", "/", "/mnt", "ext4"),     Mount("8:49", "/", "/mnt/", "ext4"),
      /* 14 */ Mount("8:49", "/", "/media/again", "ext4"), Mount("0:50", "/", "/zpool", "zfs")};
  std::vector<MountFacts> facts(mounts.size(), MountFacts{true, true});
  for (const std::size_t i : {0, 1, 2, 5, 6, 10, 15}) facts[i].sourceIsBlockDevice = false;
  facts[7].mountPointIsFolder = false;
  EXPECT_EQ(SelectDrives(mounts, facts), (std::vector<std::size_t>{3, 5, 6, 8, 11, 13, 15}));
}

// A partition's own queue says nothing: the disk's counts, for whether it is removable and rotates.
TEST(BlockDevices, APartitionIsTakenToItsDiskAndTheVolumeNameIsTheLabelThatLeadsToTheDevice) {
  TempFolder sys;
  const std::string disks = sys / "devices/usb1/block/";
  for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
           {"sdb/removable", "1\n"}, {"sdb/queue/rotational", "0\n"}, {"sdb/sdb1/partition", "1"},
           {"sda/removable", "0\n"}, {"sda/queue/rotational", "1\n"}, {"sda/sda1/partition", "1"},
           {"sda/sda1/queue/rotational", "0\n"}, {"mmcblk0/mmcblk0p1/partition", "1\n"}}) {
    std::filesystem::create_directories(std::filesystem::path(disks + name).parent_path());
    WriteFile(disks + name, content);
  }
  std::filesystem::create_directories(sys / "class/block");
  for (const std::string name : {"sdb/sdb1", "sdb", "sda/sda1", "mmcblk0/mmcblk0p1"}) {
    const std::string link = sys / "class/block/" + name.substr(name.rfind('/') + 1);
    ASSERT_EQ(::symlink(("../../devices/usb1/block/" + name).c_str(), link.c_str()), 0);
  }
  const struct { const char* name; bool found, removable, rotational, memoryCard; } cases[] = {
      {"sdb1", true, true, false, false},      {"sdb", true, true, false, false},
      {"sda1", true, false, true, false},      {"mmcblk0p1", true, false, true, true},
      {"sdz", false, false, true, false},      {"..", false, false, true, false},
      {"../../devices/usb1/block/sdb", false, false, true, false}};
  for (const auto& c : cases) {
    const auto disk = ReadDiskFacts(c.name, sys.Path());
    EXPECT_EQ((std::vector<bool>{disk.found, disk.removable, disk.rotational, disk.memoryCard,
                                 IsRemovableDisk(c.name, sys.Path())}),
              (std::vector<bool>{c.found, c.removable, c.rotational, c.memoryCard, c.removable})) << c.name;
  }
  // The volume name is the decoded label that leads to the device.
  TestSupport::MakeFolders(sys / "by-label");
  ASSERT_EQ(::symlink("../class/block/sdb1", (sys / "by-label/My\\x20Disk\\x2f2").c_str()), 0);
  EXPECT_EQ(VolumeLabel(sys / "class/block/sdb1", sys / "by-label"), "My Disk/2");
  EXPECT_EQ(VolumeLabel(sys / "class/block/sdb1", sys / "absent"), "");
}

// Links in the folder are followed, the last name is not; a missing folder is taken as written.
TEST(DriveOfPath, FollowsLinksInTheFolderButNotTheLastNameAndItsDriveHasSpace) {
  TempFolder folder;
  ASSERT_EQ(::symlink("/proc", (folder / "to-proc").c_str()), 0);
  Platform::DriveInfo home, drive;
  ASSERT_FALSE(Platform::DriveOfPath(folder.Path(), home));
  ASSERT_FALSE(Platform::DriveOfPath(folder / "to-proc/self", drive));
  EXPECT_EQ(drive.root + " " + drive.fileSystem, "/proc proc");
  ASSERT_FALSE(Platform::DriveOfPath(folder / "to-proc", drive));
  EXPECT_EQ(drive.root + " " + drive.device, home.root + " " + home.device);
  ASSERT_FALSE(Platform::DriveOfPath("/proc/no-such-folder/x", drive));
  EXPECT_EQ(drive.root, "/proc");
  // The space comes from the file system, and a missing root is an error.
  Platform::DriveSpace space;
  ASSERT_FALSE(Platform::QueryDriveSpace(folder.Path(), space));
  EXPECT_TRUE(space.clusterSize > 0 && space.availableBytes <= space.totalBytes);
  EXPECT_EQ(Platform::QueryDriveSpace(folder / "absent", space), std::errc::no_such_file_or_directory);
  EXPECT_EQ(space.totalBytes, 0);
}

TEST(DriveList, LeavesOutPseudoFileSystemsOfThisSystem) {
  for (const auto& drive : Platform::ListDrives()) {
    for (const char* pseudo : {"proc", "sysfs", "cgroup2", "devpts", "devtmpfs", "squashfs"})
      EXPECT_NE(drive.fileSystem, pseudo) << drive.root;
    struct stat point {};
    EXPECT_TRUE(::lstat(drive.root.c_str(), &point) == 0 && S_ISDIR(point.st_mode)) << drive.root;
  }
}
