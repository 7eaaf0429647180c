// What only POSIX has: pipes, sparse files, limits on file sizes, other users, the system's own
// file systems, and names that another program changes between two steps of a purge (one handle
// per file: the purge is never sent to another file). Failures that need another user or
// process-wide limits run in a child process.

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
#include "platform/errors.h"
#include "platform/paths.h"
#include "support/child_process.h"
#include "support/handle_step_hook.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

class HandlePurgeTest : public PurgeTest {
 protected:
  HandlePurgeTest() { fs::create_directories(user); }

  FilePurge::PurgeOutcome PurgeIn(const std::string& name, short passes, bool hardLinked = false) {
    Platform::FolderHandle handle;
    EXPECT_FALSE(handle.Open(user));
    return FilePurge::PurgeFileIn(handle, name, {1, passes, true, false, false, hardLinked},
                                  environment);
  }

  std::string user = folder / "user";
};

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
  const std::string bytes = ReadFile(big);  // a file that failed is not deleted
  EXPECT_EQ(bytes.size(), 5000u) << "the length is restored";
  EXPECT_EQ(bytes.substr(0, 4096), Repeat('\xAA', 4096));
  EXPECT_FALSE(fs::exists(small));
}

TEST_F(PurgeTest, AsAnotherUserAFileThatMayNotBeWrittenOrDeletedIsRefusedOrReportedNotDeleted) {
  if (!CanDropPrivileges()) GTEST_SKIP() << "needs root to act as another user";
  ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
  for (const mode_t mode : {0644, 0666}) {
    const std::string path = WriteFile(folder / "theirs.txt", Repeat('x', 300));
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    const int code = RunInChild([&] {
      if (!BecomeNobody()) return 90;
      return -Purge(path, 1, 1, true);
    });
    if (mode == 0644) {
      EXPECT_EQ(code, -FilePurge::kCannotOpenForWriting);
      EXPECT_EQ(ReadFile(path), Repeat('x', 300));
    } else {
      EXPECT_EQ(code, -FilePurge::kNotDeleted);
      EXPECT_EQ(ReadFile(path), Repeat('\0', 300));
    }
  }
}

TEST_F(PurgeTest, OnlyThePartsOfASparseFileThatHoldDataAreOverwritten) {
  const std::string path = folder / "sparse.bin";
  {
    std::ofstream out(path, std::ios::binary);
    out << Repeat('x', 5000);
    out.seekp(3 << 20);
    out << Repeat('y', 100);
  }
  fs::resize_file(path, 64 << 20);

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
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(HandlePurgeTest, AFolderSwappedForALinkBetweenTwoOverwritesLeavesTheOutsideFileUntouched) {
  const std::string outside = folder / "outside";
  fs::create_directories(outside);
  WriteFile(user + "/secret.txt", Repeat('s', 5000));
  WriteFile(outside + "/secret.txt", Repeat('o', 5000));
  const StepTrap trap(Platform::HandleStep::AfterFileSync, 1, [&](const std::string&) {
    fs::rename(user, user + ".real");
    fs::create_directory_symlink(outside, user);
  });

  const FilePurge::PurgeOutcome outcome = PurgeIn("secret.txt", 2);

  EXPECT_EQ(outcome.code, FilePurge::kPurged);
  EXPECT_EQ(outcome.passesDone, 2);
  EXPECT_EQ(ReadFile(outside + "/secret.txt"), Repeat('o', 5000));
  EXPECT_FALSE(fs::exists(user + ".real/secret.txt")) << "the chosen file went, where it is now";
}

TEST_F(HandlePurgeTest, AFileSwappedForAHardLinkToAnOutsideFileIsNeitherWrittenNorItsNameRemoved) {
  const std::string chosen = WriteFile(user + "/a.txt", Repeat('s', 5000));
  const std::string precious = WriteFile(folder / "precious.txt", Repeat('p', 5000));
  const StepTrap trap(Platform::HandleStep::AfterFileSync, 1, [&](const std::string&) {
    fs::create_hard_link(precious, chosen + ".new");
    fs::rename(chosen + ".new", chosen);
  });

  const FilePurge::PurgeOutcome outcome = PurgeIn("a.txt", 2);

  EXPECT_EQ(outcome.code, FilePurge::kNotDeleted);
  EXPECT_EQ(outcome.error, Platform::PlatformErrc::NameReplaced);
  EXPECT_EQ(ReadFile(precious), Repeat('p', 5000));
  EXPECT_EQ(fs::hard_link_count(precious), 2u) << "the name that leads to it now stays";
}

TEST_F(HandlePurgeTest, AFileSwappedBeforeItIsOpenedIsRefusedUntouched) {
  const std::string chosen = WriteFile(user + "/a.txt", "mine");
  const std::string other = WriteFile(folder / "other.txt", "theirs");
  const StepTrap trap(Platform::HandleStep::BeforeOpenFile, 1,
                      [&](const std::string&) { fs::rename(other, chosen); });

  EXPECT_EQ(PurgeIn("a.txt", 1).code, FilePurge::kReplaced);
  EXPECT_EQ(ReadFile(chosen), "theirs");
}

TEST_F(HandlePurgeTest, AFileThatGrowsWhileItIsOverwrittenIsNotPurgedButStillDeleted) {
  const std::string chosen = WriteFile(user + "/log.txt", Repeat('s', 5000));
  const StepTrap trap(Platform::HandleStep::AfterFileSync, 1, [&](const std::string&) {
    std::ofstream(chosen, std::ios::app | std::ios::binary) << Repeat('g', 10000);
  });

  EXPECT_EQ(PurgeIn("log.txt", 1).code, FilePurge::kGrew);
  EXPECT_FALSE(fs::exists(chosen));
}

// Someone else takes the name away while the purge tries to remove it: gone with it, the file
// counts as deleted; renamed, it is still there and is reported as not deleted.
TEST_F(HandlePurgeTest, ANameTakenAwayByAnotherProgramCountsAsDeletedOnlyWhenTheFileIsGone) {
  for (const bool renamed : {false, true}) {
    const std::string chosen = WriteFile(user + "/a.txt", "x");
    int tries = 0;
    environment.deleteRetry.remove = [&](Platform::FileHandle&, const Platform::FolderHandle&,
                                         const std::string&) {
      ++tries;
      std::error_code ignored;
      if (renamed)
        fs::rename(chosen, folder / "elsewhere.txt", ignored);
      else
        fs::remove(chosen, ignored);
      return std::make_error_code(std::errc::no_such_file_or_directory);
    };
    EXPECT_EQ(PurgeIn("a.txt", 1).code, renamed ? FilePurge::kNotDeleted : FilePurge::kPurged)
        << renamed;
    EXPECT_EQ(tries, renamed ? 4 : 1) << renamed;
  }
}

TEST_F(HandlePurgeTest, AFileWithAnotherNameIsRefusedUnlessAllowedThenItsLengthIsPutBack) {
  for (const bool allowed : {false, true}) {
    const std::string chosen = WriteFile(user + "/a.txt", Repeat('x', 5000));
    const std::string otherName = folder / "elsewhere.txt";
    fs::remove(otherName);
    fs::create_hard_link(chosen, otherName);

    const FilePurge::PurgeOutcome outcome = PurgeIn("a.txt", 1, allowed);

    EXPECT_EQ(outcome.code, allowed ? FilePurge::kPurged : FilePurge::kHardLinked);
    EXPECT_EQ(outcome.otherNames, 1u);
    EXPECT_EQ(fs::exists(chosen), !allowed);
    EXPECT_EQ(ReadFile(otherName), Repeat(allowed ? '\0' : 'x', 5000))
        << "the other name keeps the file's length, not a whole cluster";
  }
}

TEST_F(HandlePurgeTest, AFileOfTheSystemsOwnFileSystemsIsRefusedBeforeItIsOpened) {
  const StepTrap trap(Platform::HandleStep::BeforeOpenFile, 1,
                      [](const std::string& name) { ADD_FAILURE() << name << " was opened"; });
  int tried = 0;
  for (const auto& [folderPath, name] :
       {std::pair{"/proc/self", "comm"}, std::pair{"/sys/kernel", "uevent_seqnum"}}) {
    Platform::FolderHandle handle;
    if (handle.Open(folderPath) || !fs::is_regular_file(std::string(folderPath) + "/" + name))
      continue;
    ++tried;
    EXPECT_EQ(
        FilePurge::PurgeFileIn(handle, name, {1, 1, true, true, true, true}, environment).code,
        FilePurge::kNotOnDisk)
        << folderPath;
  }
  if (tried == 0) GTEST_SKIP() << "neither /proc nor /sys is mounted here";
}

}  // namespace
