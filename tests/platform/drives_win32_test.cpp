#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/drives.h"
#include "platform/errors.h"
#include "support/file_inspection.h"

TEST(DriveRootFolder, TakesTheLetterInEveryFormAndLeavesOtherTextsAlone) {
  for (const char* root : {"c", "C:", "c:/"}) EXPECT_EQ(Platform::DriveRootFolder(root), "C:\\");
  for (const char* other : {"", "CD", "C:x", "C:\\x", "\\\\server\\share"})
    EXPECT_EQ(Platform::DriveRootFolder(other), other) << other;
}

// (A drive's space: file_purge_win32_test.cpp, through the engine.)
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
