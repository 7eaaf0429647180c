#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "engine/disk_proc.h"
#include "platform/drives.h"
#include "platform/errors.h"
#include "support/file_inspection.h"

namespace {

TEST(DriveRootFolder, TakesTheLetterInEveryFormAndLeavesOtherTextsAlone) {
  for (const char* root : {"c", "C:", "c:/"}) EXPECT_EQ(Platform::DriveRootFolder(root), "C:\\");
  for (const char* other : {"", "CD", "C:x", "C:\\x", "\\\\server\\share"})
    EXPECT_EQ(Platform::DriveRootFolder(other), other) << other;
}

// The upper-case letter of the drive; network paths, a letter without a drive and an empty path
// lie on no drive.
TEST(DriveOfPath, NamesTheUpperCaseLetterOfTheDriveThatHoldsThePath) {
  Platform::DriveInfo drive;
  ASSERT_FALSE(Platform::DriveOfPath("\\\\?\\c:\\x", drive));
  EXPECT_EQ(drive.root, "C");
  EXPECT_EQ(drive.type, Platform::DriveType::Fixed);
  const std::string missing = TestSupport::LetterWithoutDrive();
  for (const std::string& path : {std::string("\\\\?\\UNC\\server\\share\\x"), missing + ":\\x"}) {
    drive.root = "stale";
    EXPECT_EQ(Platform::DriveOfPath(path, drive), Platform::PlatformErrc::NoSuchDrive) << path;
    EXPECT_EQ(drive.root, "") << path;
  }
}

// A bare letter is a drive, never a relative name in the current folder.
TEST(QueryDriveSpace, AnswersForADriveNamedByItsLetterAndFailsWithoutADrive) {
  Platform::DriveSpace space;
  ASSERT_FALSE(Platform::QueryDriveSpace("C", space));
  EXPECT_TRUE(space.clusterSize >= 512 && space.availableBytes <= space.totalBytes);
  double available = -1;
  double total = -1;
  ASSERT_EQ(DiskProc::FreeSpace(Platform::DriveRootFolder("C"), available, total), 0);
  EXPECT_EQ(total, static_cast<double>(space.totalBytes));
  EXPECT_TRUE(Platform::QueryDriveSpace(TestSupport::LetterWithoutDrive(), space));
  EXPECT_EQ(space.clusterSize, 0);
}

}  // namespace
