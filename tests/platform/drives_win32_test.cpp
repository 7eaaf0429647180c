#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "engine/disk_proc.h"
#include "platform/drives.h"
#include "platform/errors.h"
#include "support/file_inspection.h"
#include "support/temp_folder.h"

namespace {

using Platform::DriveInfo;
using Platform::DriveSpace;
using Platform::PlatformErrc;

TEST(DriveRootFolder, TakesTheLetterInEveryFormAndLeavesOtherTextsAlone) {
  for (const char* root : {"C", "c", "C:", "c:", "C:\\", "c:/"})
    EXPECT_EQ(Platform::DriveRootFolder(root), "C:\\") << root;
  EXPECT_EQ(Platform::DriveRootFolder("z"), "Z:\\");
  for (const char* other : {"", "CD", "C:x", "1", "C:\\x", "\\\\server\\share"})
    EXPECT_EQ(Platform::DriveRootFolder(other), other) << other;
}

TEST(DriveOfPath, NamesTheUpperCaseLetterOfTheDriveThatHoldsThePath) {
  DriveInfo drive;
  ASSERT_FALSE(Platform::DriveOfPath("c:\\x\\y", drive));
  EXPECT_EQ(drive.root, "C");
  EXPECT_EQ(drive.type, Platform::DriveType::Fixed);
  EXPECT_FALSE(drive.floppy);
  ASSERT_FALSE(Platform::DriveOfPath("C:/x/y", drive));
  EXPECT_EQ(drive.root, "C");
  ASSERT_FALSE(Platform::DriveOfPath("\\\\?\\C:\\x", drive));
  EXPECT_EQ(drive.root, "C");

  // A relative path lies on the drive of the current folder.
  const std::string current = TestSupport::Utf8Path(std::filesystem::current_path());
  ASSERT_FALSE(Platform::DriveOfPath("relative\\name", drive));
  EXPECT_EQ(drive.root, std::string(1, static_cast<char>(std::toupper(current[0]))));

  // Network paths, a letter without a drive and an empty path lie on no drive.
  const std::string missing = TestSupport::LetterWithoutDrive();
  ASSERT_FALSE(missing.empty());
  for (const std::string& path :
       {std::string("\\\\server\\share\\x"), std::string("\\\\?\\UNC\\server\\share\\x"),
        missing + ":\\x", std::string()}) {
    drive.root = "stale";
    EXPECT_EQ(Platform::DriveOfPath(path, drive), PlatformErrc::NoSuchDrive) << path;
    EXPECT_EQ(drive.root, "") << path;
  }
}

TEST(ListDrives, GivesEachDriveOnceByItsLetterInLetterOrder) {
  const auto drives = Platform::ListDrives();
  ASSERT_FALSE(drives.empty());
  bool hasC = false;
  for (std::size_t i = 0; i < drives.size(); ++i) {
    ASSERT_EQ(drives[i].root.size(), 1u);
    EXPECT_TRUE(drives[i].root[0] >= 'A' && drives[i].root[0] <= 'Z') << drives[i].root;
    if (i > 0) {
      EXPECT_LT(drives[i - 1].root, drives[i].root);
    }
    EXPECT_NE(drives[i].type, Platform::DriveType::Unknown) << drives[i].root;
    EXPECT_EQ(drives[i].floppy, drives[i].root == "A" || drives[i].root == "B");
    hasC = hasC || drives[i].root == "C";
  }
  EXPECT_TRUE(hasC);
}

TEST(QueryDriveSpace, AnswersForADriveInEveryFormOfItsRootAndFailsWithoutADrive) {
  DriveSpace space;
  ASSERT_FALSE(Platform::QueryDriveSpace("C", space));
  EXPECT_GE(space.clusterSize, 512);
  EXPECT_LE(space.clusterSize, 65536);
  EXPECT_GT(space.totalBytes, 0);
  EXPECT_GE(space.availableBytes, 0);
  EXPECT_LE(space.availableBytes, space.totalBytes);
  for (const char* root : {"c", "C:", "C:\\"}) {
    DriveSpace same;
    ASSERT_FALSE(Platform::QueryDriveSpace(root, same)) << root;
    EXPECT_EQ(same.clusterSize, space.clusterSize) << root;
    EXPECT_EQ(same.totalBytes, space.totalBytes) << root;
    EXPECT_EQ(same.serialNumber, space.serialNumber) << root;
  }

  const std::string missing = TestSupport::LetterWithoutDrive();
  for (const std::string& root : {missing, missing + ":\\", std::string()}) {
    space.clusterSize = 123;
    EXPECT_TRUE(Platform::QueryDriveSpace(root, space)) << root;
    EXPECT_EQ(space.clusterSize, 0) << root;
  }
}

// A bare letter is a drive, never a relative name in the current folder.
TEST(DiskProc, AsksADriveNamedByItsLetterAtItsRootFolder) {
  EXPECT_TRUE(DiskProc::DriveReady("C"));
  double available = -1;
  double total = -1;
  ASSERT_EQ(DiskProc::FreeSpace(Platform::DriveRootFolder("C"), available, total), 0);
  EXPECT_GT(total, 0);
}

}  // namespace
