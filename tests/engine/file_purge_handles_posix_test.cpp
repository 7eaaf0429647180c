// One handle per file: what another program does to the names between two steps of a purge never
// sends the purge to another file.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "platform/errors.h"
#include "support/handle_step_hook.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

class HandlePurgeTest : public PurgeTest {
 protected:
  FilePurge::PurgeOutcome PurgeIn(const std::string& folderPath, const std::string& name,
                                  short passes, bool deleteFile, bool hardLinked = false) {
    Platform::FolderHandle handle;
    EXPECT_FALSE(handle.Open(folderPath)) << folderPath;
    return FilePurge::PurgeFileIn(handle, name, {1, passes, deleteFile, false, false, hardLinked},
                                  environment);
  }

  std::string outside = folder / "outside";
  std::string user = folder / "user";
};

TEST_F(HandlePurgeTest, AFolderSwappedForALinkBetweenTwoOverwritesLeavesTheOutsideFileUntouched) {
  fs::create_directories(outside);
  fs::create_directories(user);
  WriteFile(user + "/secret.txt", Repeat('s', 5000));
  WriteFile(outside + "/secret.txt", Repeat('o', 5000));
  const StepTrap trap(Platform::HandleStep::AfterFileSync, 1, [&](const std::string&) {
    fs::rename(user, user + ".real");
    fs::create_directory_symlink(outside, user);
  });

  const FilePurge::PurgeOutcome outcome = PurgeIn(user, "secret.txt", 2, true);

  EXPECT_EQ(outcome.code, FilePurge::kPurged);
  EXPECT_EQ(outcome.passesDone, 2);
  EXPECT_EQ(ReadFile(outside + "/secret.txt"), Repeat('o', 5000));
  EXPECT_FALSE(fs::exists(user + ".real/secret.txt")) << "the chosen file went, where it is now";
}

TEST_F(HandlePurgeTest, AFileSwappedForAHardLinkToAnOutsideFileIsNeitherWrittenNorItsNameRemoved) {
  fs::create_directories(user);
  const std::string chosen = WriteFile(user + "/a.txt", Repeat('s', 5000));
  const std::string precious = WriteFile(folder / "precious.txt", Repeat('p', 5000));
  const StepTrap trap(Platform::HandleStep::AfterFileSync, 1, [&](const std::string&) {
    fs::create_hard_link(precious, chosen + ".new");
    fs::rename(chosen + ".new", chosen);
  });

  const FilePurge::PurgeOutcome outcome = PurgeIn(user, "a.txt", 2, true);

  EXPECT_EQ(outcome.code, FilePurge::kNotDeleted);
  EXPECT_EQ(outcome.error, Platform::PlatformErrc::NameReplaced);
  EXPECT_EQ(ReadFile(precious), Repeat('p', 5000));
  EXPECT_EQ(fs::hard_link_count(precious), 2u) << "the name that leads to it now stays";
}

TEST_F(HandlePurgeTest, AFileSwappedBeforeItIsOpenedIsRefusedUntouched) {
  fs::create_directories(user);
  const std::string chosen = WriteFile(user + "/a.txt", "mine");
  const std::string other = WriteFile(folder / "other.txt", "theirs");
  const StepTrap trap(Platform::HandleStep::BeforeOpenFile, 1,
                      [&](const std::string&) { fs::rename(other, chosen); });

  EXPECT_EQ(PurgeIn(user, "a.txt", 1, true).code, FilePurge::kReplaced);
  EXPECT_EQ(ReadFile(chosen), "theirs");
}

TEST_F(HandlePurgeTest, AFileThatGrowsWhileItIsOverwrittenIsNotPurgedButStillDeleted) {
  fs::create_directories(user);
  const std::string chosen = WriteFile(user + "/log.txt", Repeat('s', 5000));
  const StepTrap trap(Platform::HandleStep::AfterFileSync, 1, [&](const std::string&) {
    std::ofstream(chosen, std::ios::app | std::ios::binary) << Repeat('g', 10000);
  });

  EXPECT_EQ(PurgeIn(user, "log.txt", 1, true).code, FilePurge::kGrew);
  EXPECT_FALSE(fs::exists(chosen));
}

// Someone else takes the name away while the purge tries to remove it: gone with it, the file
// counts as deleted; renamed, it is still there and is reported as not deleted.
TEST_F(HandlePurgeTest, ANameTakenAwayByAnotherProgramCountsAsDeletedOnlyWhenTheFileIsGone) {
  fs::create_directories(user);
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
    const FilePurge::PurgeOutcome outcome = PurgeIn(user, "a.txt", 1, true);
    EXPECT_EQ(outcome.code, renamed ? FilePurge::kNotDeleted : FilePurge::kPurged) << renamed;
    EXPECT_EQ(tries, renamed ? 4 : 1) << renamed;
  }
}

struct HardLinkCase {
  bool allowed;
  short code;
  const char* otherNameHolds;
};

class HardLinkTest : public HandlePurgeTest, public ::testing::WithParamInterface<HardLinkCase> {};

TEST_P(HardLinkTest, AFileWithAnotherNameIsRefusedUnlessAllowedThenItsLengthIsPutBack) {
  fs::create_directories(user);
  const std::string chosen = WriteFile(user + "/a.txt", Repeat('x', 5000));
  const std::string otherName = folder / "elsewhere.txt";
  fs::create_hard_link(chosen, otherName);

  const FilePurge::PurgeOutcome outcome = PurgeIn(user, "a.txt", 1, true, GetParam().allowed);

  EXPECT_EQ(outcome.code, GetParam().code);
  EXPECT_EQ(outcome.otherNames, 1u);
  EXPECT_EQ(fs::exists(chosen), !GetParam().allowed);
  EXPECT_EQ(ReadFile(otherName), Repeat(GetParam().otherNameHolds[0], 5000))
      << "the other name keeps the file's length, not a whole cluster";
}

INSTANTIATE_TEST_SUITE_P(Purge, HardLinkTest,
                         ::testing::Values(HardLinkCase{false, FilePurge::kHardLinked, "x"},
                                           HardLinkCase{true, FilePurge::kPurged, "\0"}));

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
