// Listings that need POSIX permissions: a folder made unreadable by its mode bits (Windows keeps
// such rights in access lists, which a test cannot take from its own user under Wine).

#include <unistd.h>

#include <filesystem>

#include "operation/run_fixture.h"

using namespace TestSupport;
namespace fs = std::filesystem;

TEST_F(RunTest, AnUnreadableFolderIsPassedOverAndTheWalkGoesOn) {
  fs::create_directories(folder / "locked");
  fs::create_directories(folder / "open");
  WriteFile(folder / "locked/a.txt", "a");
  WriteFile(folder / "open/b.txt", "b");
  fs::permissions(folder / "locked", fs::perms::none);
  if (geteuid() == 0) {
    // Root reads every folder; a folder that vanishes is just as unreadable.
    fs::permissions(folder / "locked", fs::perms::owner_all);
    fs::remove_all(folder / "locked");
  }
  Target("*.txt", true);
  List();
  EXPECT_EQ(run.lngNumFilesProcessed, 1);
  EXPECT_TRUE(Contains(run.Report(), folder.Path() + "open/\r\n"));
}
