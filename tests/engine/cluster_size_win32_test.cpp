// The cluster sizes of real Windows drives, named by their letters.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "engine/cluster_size.h"
#include "engine/disk_proc.h"
#include "support/file_inspection.h"

namespace {

Platform::DriveInfo Drive(const std::string& letter, bool floppy = false) {
  Platform::DriveInfo drive;
  drive.root = letter;
  drive.floppy = floppy;
  return drive;
}

}  // namespace

TEST(GetClusterSize, DriveCAnswersWithAWholeNumberOfSectorsAndIsAskedOnce) {
  int questions = 0;
  DriveClusterSize table([&questions](const std::string& root, double& freeBytes) {
    ++questions;
    return DiskProc::ClusterSizeOfRoot(root, freeBytes);
  });
  double freeBytes = -5;
  const std::int32_t size = table.GetClusterSize(Drive("C"), &freeBytes);

  EXPECT_GE(size, 512);
  EXPECT_LE(size, 65536);
  EXPECT_EQ(size % 512, 0) << size;
  EXPECT_GT(freeBytes, 0);
  EXPECT_EQ(table.GetClusterSize(Drive("C"), &freeBytes), size);
  EXPECT_EQ(questions, 1) << "the answer is kept";
}

TEST(GetClusterSize, ADriveLetterWithoutADriveFallsBackWithoutFailing) {
  const std::string letter = TestSupport::LetterWithoutDrive();
  if (letter.empty()) GTEST_SKIP() << "every drive letter names a drive";

  double freeBytes = 0;
  EXPECT_EQ(DiskProc::ClusterSizeOfRoot(letter, freeBytes), -1);
  EXPECT_EQ(freeBytes, -1);
  EXPECT_FALSE(DiskProc::DriveReady(letter));

  DriveClusterSize table;
  freeBytes = 0;
  EXPECT_EQ(table.GetClusterSize(Drive(letter), &freeBytes), 4096);
  EXPECT_EQ(freeBytes, -1) << "the caller learns that the drive did not answer";
  EXPECT_EQ(table.Known(letter), 4096);
  // As a floppy drive without a disk: the floppy's own cluster size.
  DriveClusterSize floppies;
  EXPECT_EQ(floppies.GetClusterSize(Drive(letter, true)), 512);
  EXPECT_EQ(table.ForPath(letter + ":\\folder\\file.txt"), 4096);
}
