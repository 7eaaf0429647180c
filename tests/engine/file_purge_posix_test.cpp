// What only POSIX has: pipes that are file-system entries, limits on file sizes, and other users.
// Failures that need another user or process-wide limits run in a child process.

#include <linux/magic.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "platform/paths.h"
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

TEST_F(PurgeTest, OnlyThePartsOfASparseFileThatHoldDataAreOverwritten) {
  const std::string path = folder / "sparse.bin";
  {
    std::ofstream out(path, std::ios::binary);
    out << Repeat('x', 5000);
    out.seekp(3 << 20);
    out << Repeat('y', 100);
  }
  std::filesystem::resize_file(path, 64 << 20);

  ASSERT_EQ(Purge(path, 1, 1, false), FilePurge::kPurged);

  const std::string bytes = ReadFile(path);
  ASSERT_EQ(bytes.size(), 64u << 20) << "the length is given back";
  EXPECT_EQ(bytes.find_first_not_of('\0'), std::string::npos) << "the data ends as zeros";
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_LE(after.st_blocks * 512, 3 * 4096) << "the holes stay holes: 3 clusters of data";
}

TEST_F(PurgeTest, AFileSystemThatDoesNotTellWhereDataLiesGivesAnUnverifiedPurge) {
  struct statfs system {};
  if (statfs("/dev/shm", &system) != 0 || system.f_type != TMPFS_MAGIC)
    GTEST_SKIP() << "/dev/shm is not a tmpfs here";
  const std::string path = WriteFile("/dev/shm/kexwell-test-" + std::to_string(getpid()), "x");

  Platform::FolderHandle shm;
  ASSERT_FALSE(shm.Open("/dev/shm"));
  const FilePurge::PurgeOutcome outcome =
      FilePurge::PurgeFileIn(shm, Platform::NamePart(path), {1, 1}, environment);

  EXPECT_EQ(outcome.code, FilePurge::kPurged);
  EXPECT_FALSE(outcome.verified);
  EXPECT_FALSE(std::filesystem::exists(path));
}
