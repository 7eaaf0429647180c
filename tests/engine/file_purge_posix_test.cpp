// What only POSIX has: sparse files, limits on file sizes, the system's own file systems, and names
// that another program changes between two steps of a purge (one handle per file: the purge is
// never sent to another file).

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "support/child_process.h"
#include "support/file_setup.h"
#include "support/handle_step_hook.h"

using namespace TestSupport;
namespace fs = std::filesystem;
using Platform::HandleStep;

namespace {

TEST_F(PurgeTest, AWriteFailureStopsTheFileRestoresItsLengthAndTheNextFileIsPurged) {
  const std::string big = WriteFile(folder / "big.bin", Repeat('x', 5000));
  const std::string small = WriteFile(folder / "small.bin", Repeat('y', 1000));
  // The second cluster of the big file would pass a 6000-byte limit on file sizes.
  const int childResult = RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{6000, 6000};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 90;
    const short bigCode = Purge(big, 1, 1, true);
    return (bigCode == FilePurge::kWriteFailed ? 1 : 0) | (Purge(small, 1, 1, true) == 0 ? 2 : 0);
  });
  EXPECT_EQ(childResult, 3) << "1: big file gave the write failure, 2: small file was purged";
  // The file that failed is not deleted; its length is restored.
  EXPECT_TRUE(ReadFile(big) == Repeat('\xAA', 5000));
}

TEST_F(PurgeTest, OnlyThePartsOfASparseFileThatHoldDataAreOverwritten) {
  const std::string path = WriteFile(folder / "sparse.bin", Repeat('x', 5000));
  std::ofstream(path, std::ios::in | std::ios::binary).seekp(3 << 20) << Repeat('y', 100);
  fs::resize_file(path, 64 << 20);
  ASSERT_EQ(Purge(path, 1, 1, false), FilePurge::kPurged);
  EXPECT_EQ(ReadFile(path), std::string(64 << 20, '\0')) << "the length is given back";
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_LE(after.st_blocks * 512, 3 * 4096) << "the holes stay holes: 3 clusters of data";
}

// Another program changes the chosen file between two steps: the file that takes its name is
// never written, and its name stays. The user's folder swapped for a link between two overwrites
// sends the purge to no other folder: the chosen file goes, where it is now. A name taken away
// just before the purge removes it counts as deleted only when the file went with it.
TEST_F(PurgeTest, AFileSwappedGrownOrHardLinkedToAnotherIsNeverPurgedInItsPlace) {
  const std::string user = folder / "user", chosen = user + "/a.txt";
  MakeFolder(user);
  const std::string other = folder / "a.txt";
  // {the step, what the other program does then, the code, the chosen name's bytes after ("": gone)}
  using Change = void (*)(const std::string& chosen, const std::string& other);
  const Change replace = [](auto& c, auto& o) { fs::rename(o, c); };
  const Change hardLink = [](auto& c, auto& o) {
    fs::create_hard_link(o, c + ".new");
    fs::rename(c + ".new", c);
  };
  const Change remove = [](auto& c, auto&) { fs::remove(c); };
  const Change rename = [](auto& c, auto& o) { fs::rename(c, o); };
  const Change grow = [](auto& c, auto&) { std::ofstream(c, std::ios::app) << Repeat('g', 10000); };
  const Change swapFolder = [](auto& c, auto& o) {
    const fs::path chosenFolder = fs::path(c).parent_path();
    fs::rename(chosenFolder, fs::path(chosenFolder) += ".real");
    fs::create_directory_symlink(fs::path(o).parent_path(), chosenFolder);
  };
  const struct { HandleStep step; Change change; short code; std::string after; } rows[] = {
      {HandleStep::BeforeOpenFile, replace, FilePurge::kReplaced, Repeat('o', 5000)},
      {HandleStep::AfterFileSync, hardLink, FilePurge::kNotDeleted, Repeat('o', 5000)},
      {HandleStep::AfterFileSync, grow, FilePurge::kGrew, ""},
      {HandleStep::BeforeRemoveName, remove, FilePurge::kPurged, ""},
      {HandleStep::BeforeRemoveName, rename, FilePurge::kNotDeleted, ""},
      {HandleStep::AfterFileSync, swapFolder, FilePurge::kPurged, Repeat('o', 5000)}};  // the last row
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    fs::remove(chosen);
    WriteFile(chosen, Repeat('s', 5000));
    WriteFile(other, Repeat('o', 5000));
    const StepTrap trap(row.step, 1, [&](const std::string&) { row.change(chosen, other); });
    Platform::FolderHandle handle;  // the purge of the user's file through a handle on its folder
    ASSERT_FALSE(handle.Open(user));
    const auto outcome = FilePurge::PurgeFileIn(handle, "a.txt", {1, 2, true, false, false, false},
                                                environment);
    EXPECT_EQ(outcome.code, row.code);
    EXPECT_EQ(outcome.error == Platform::PlatformErrc::NameReplaced, row.change == hardLink);
    EXPECT_EQ(fs::exists(chosen) ? ReadFile(chosen) : "", row.after);
  }
  EXPECT_FALSE(fs::exists(user + ".real/a.txt"));
}

TEST_F(PurgeTest, AFileOfTheSystemsOwnFileSystemsIsRefusedBeforeItIsOpened) {
  const StepTrap trap(HandleStep::BeforeOpenFile, 1,
                      [](const std::string& name) { ADD_FAILURE() << name << " was opened"; });
  Platform::FolderHandle handle;
  if (handle.Open("/sys/kernel")) GTEST_SKIP() << "/sys is not mounted here";
  const FilePurge::PurgeRequest any{1, 1, true, true, true, true};
  EXPECT_EQ(FilePurge::PurgeFileIn(handle, "uevent_seqnum", any, environment).code, FilePurge::kNotOnDisk);
}

}  // namespace
