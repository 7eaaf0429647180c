// The walks reach every folder through its parent's handle: a folder swapped for a link, a mount
// point, an unreadable folder or a path beyond the system's limit never sends a walk elsewhere,
// and is never passed over in silence.

#include <sys/mount.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "operation/run_fixture.h"
#include "support/child_process.h"
#include "support/handle_step_hook.h"
#include "support/native_path.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

// The target t holds the folders a and sub, each with a file x.txt; "outside" lies beside it. The
// program's folder a and its swap file t/swapfile are given through a link, so that the walk knows
// them by what they are, not by their paths' spelling.
class WalkRaceTest : public RunTest {
 protected:
  WalkRaceTest() {
    for (const auto& [path, text] :
         {std::pair{outside, "outside"}, {sub, "inside"}, {target + "/a", "first"}}) {
      fs::create_directories(path);
      WriteFile(path + "/x.txt", text);
    }
    fs::create_directory_symlink(folder.Path(), folder / "linked");
    WriteFile(target + "/swapfile", "swap");
    const std::string linked = folder / "linked/t/";
    settings.protectedFiles = FileOps::ProtectedFiles({linked + "a"}, {linked + "swapfile"});
    settings.target = {target + "/", "*.*", true};
  }

  std::string outside = folder / "outside";
  std::string target = folder / "t";
  std::string sub = folder / "t/sub";
};

// The purge and the listing walk the tree each on its own.
class SwappedFolderTest : public WalkRaceTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SwappedFolderTest, AFolderSwappedForALinkAfterItWasListedIsReportedAndNeverEntered) {
  // Whichever subfolder comes first, "sub" goes.
  const StepTrap trap(Platform::HandleStep::BeforeOpenSubfolder, 1, [this](const std::string&) {
    fs::rename(sub, folder / "moved");
    fs::create_directory_symlink(outside, sub);
  });
  GetParam() ? Purge() : List();

  EXPECT_EQ(ReadFile(outside + "/x.txt"), "outside");
  const std::string& report = run.Report();
  EXPECT_TRUE(Contains(report, sub + "/ (folder): replaced by a link or another entry, not "
                                       "entered.\r\n")) << report;
  const std::string notEntered = GetParam() ? "not purged: 1\r\n" : "not listed: 1\r\n";
  EXPECT_TRUE(Contains(report, "Number of folders " + notEntered));
  EXPECT_TRUE(Contains(report, target + "/a/\r\nx.txt")) << "the other folder is walked";
  EXPECT_EQ(Contains(report, "x.txt: a file in the current application folder, not purged."), GetParam());
  EXPECT_EQ(Contains(report, "swapfile: the page file (swap file), not purged."), GetParam());
  EXPECT_EQ(ReadFile(target + "/a/x.txt") + ReadFile(target + "/swapfile"), "firstswap");
}

INSTANTIATE_TEST_SUITE_P(PurgeAndList, SwappedFolderTest, ::testing::Bool());

// A bind mount of this file system: the same device, yet another mount. (A file system of its own
// on a subfolder is purged by the command-line tests.)
TEST_F(WalkRaceTest, AMountPointUnderTheTargetIsReportedAndNeverEntered) {
  const std::string mounted = folder / "t/mnt";
  fs::create_directories(mounted);
  if (::mount(outside.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0)
    GTEST_SKIP() << "this machine refuses mounts: " << std::strerror(errno);
  Purge();
  ::umount(mounted.c_str());
  EXPECT_EQ(ReadFile(outside + "/x.txt"), "outside") << "the bound folder kept its file";
  EXPECT_TRUE(Contains(run.Report(), mounted + "/ (folder): another file system, not entered."));
}

// The walk going on past such a folder is checked with the swapped folder.
TEST_F(WalkRaceTest, AnUnreadableSubfolderIsReportedWithTheSystemsReason) {
  if (!CanDropPrivileges()) GTEST_SKIP() << "needs root to act as another user";
  for (const std::string& path : {folder.Path(), target, target + "/a", target + "/a/x.txt"})
    ::chmod(path.c_str(), 0777);
  fs::permissions(sub, fs::perms::owner_all);
  const int result = RunInChild([this] {
    if (!BecomeNobody()) return 90;
    Purge();
    return Contains(run.Report(), sub + "/ (folder): cannot be read (permission denied).\r\n") ? 1 : 0;
  });
  EXPECT_EQ(result, 1) << "the line with the reason";
  EXPECT_EQ(ReadFile(sub + "/x.txt"), "inside");
}

}  // namespace
