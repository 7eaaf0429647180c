// What only POSIX has: pipes that are file-system entries, limits on file sizes, and other users.
// Failures that need another user or process-wide limits run in a child process.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "support/child_process.h"

using namespace TestSupport;

TEST_F(PurgeTest, AWriteFailureStopsTheFileRestoresItsLengthAndTheNextFileIsPurged) {
  const std::string big = WriteFile(folder / "big.bin", Repeat('x', 5000));
  const std::string small = WriteFile(folder / "small.bin", Repeat('y', 1000));

  // The second cluster of the big file would pass a 6000-byte limit on file sizes.
  const int childResult = RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{6000, 6000};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 90;
    const short bigCode = Purge(big, 1, 1, true);
    const short smallCode = Purge(small, 1, 1, true);
    return (bigCode == FilePurge::kWriteFailed ? 1 : 0) | (smallCode == FilePurge::kPurged ? 2 : 0);
  });

  EXPECT_EQ(childResult, 3) << "1: big file gave the write failure, 2: small file was purged";
  EXPECT_EQ(std::filesystem::file_size(big), 5000u) << "the length is restored";
  EXPECT_TRUE(std::filesystem::exists(big)) << "a file that failed is not deleted";
  EXPECT_EQ(ReadFile(big).substr(0, 4096), Repeat('\xAA', 4096));
  EXPECT_FALSE(std::filesystem::exists(small));
}

TEST_F(PurgeTest, AFileThatMayNotBeWrittenIsRefusedUntouched) {
  if (!CanDropPrivileges()) GTEST_SKIP() << "needs root to act as another user";
  const std::string path = WriteFile(folder / "theirs.txt", "not yours");
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);

  const int code = RunInChild([&] {
    if (!BecomeNobody()) return 90;
    return -Purge(path, 0, 1, true);
  });

  EXPECT_EQ(code, -FilePurge::kCannotOpenForWriting);
  EXPECT_EQ(ReadFile(path), "not yours");
}

TEST_F(PurgeTest, AFileInAFolderThatDeniesDeletionIsOverwrittenButReportedNotDeleted) {
  if (!CanDropPrivileges()) GTEST_SKIP() << "needs root to act as another user";
  const std::string path = WriteFile(folder / "shared.txt", Repeat('x', 300));
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);

  const int code = RunInChild([&] {
    if (!BecomeNobody()) return 90;
    return -Purge(path, 1, 1, true);
  });

  EXPECT_EQ(code, -FilePurge::kNotDeleted);
  EXPECT_EQ(ReadFile(path), Repeat('\0', 300));
}

TEST_F(PurgeTest, APipeIsRefusedWithoutWaiting) {
  const std::string pipe = folder / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(Purge(pipe, 0, 1, true), FilePurge::kNotARegularFile);
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}
