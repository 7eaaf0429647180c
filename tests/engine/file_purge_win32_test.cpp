// The per-file purge where Windows differs: the volume and drive letters without a drive.

#include <string>

#include "engine/disk_proc.h"
#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "support/file_inspection.h"

using namespace TestSupport;

TEST_F(PurgeTest, TheVolumeAndADriveLetterWithoutADriveAreRefused) {
  EXPECT_EQ(Purge("\\\\.\\C:", 0, 1, true), FilePurge::kNotARegularFile);
  double freeBytes = 0;
  EXPECT_EQ(DiskProc::ClusterSizeOfRoot("C", freeBytes) % 512, 0);
  const std::string letter = LetterWithoutDrive();
  if (letter.empty()) GTEST_SKIP() << "every drive letter names a drive";
  EXPECT_EQ(Purge(letter + ":\\folder\\file.txt", 0, 1, true), FilePurge::kCannotOpenForWriting);
  EXPECT_EQ(DiskProc::ClusterSizeOfRoot(letter, freeBytes), -1);
  EXPECT_EQ(freeBytes, -1);
  EXPECT_FALSE(DiskProc::DriveReady(letter));
}
