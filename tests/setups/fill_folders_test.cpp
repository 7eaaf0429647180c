#include "setups/fill_folders.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/paths.h"
#include "support/file_setup.h"
#include "support/temp_folder.h"

using namespace TestSupport;
using FreeSpacePurge::Leftover;

namespace {

TEST(FillFolders, TheListedFoldersThatNoPurgeHoldsAreRemovedAndTheOthersStayListed) {
  const TempFolder folder;
  const std::string list = JoinPath(folder / "store", "fill-folders.txt");
  const std::string left = folder / "_kx_dummy1", held = folder / "_kx_dummy2";
  for (const std::string& path : {left, held}) {
    MakeFolder(path);
    WriteFile(JoinPath(path, "_kx_dummy1"), "fill");
    WriteFile(JoinPath(path, FreeSpacePurge::kMarkerName), FreeSpacePurge::kMarkerText);
  }
  // A "%" in a name is written as "%25", so that "%0A" is never taken for a line break.
  const std::string gone = folder / "100%0A";
  for (const std::string& path : {left, gone, held, gone}) NoteFillFolder(path, true, list);
  NoteFillFolder(gone, false, list);
  NoteFillFolder(gone, true, list);
  EXPECT_EQ(ReadFile(list), left + "\n" + held + "\n" + folder / "100%250A\n");

  Platform::FolderHandle handle;
  Platform::FileHandle marker;
  ASSERT_FALSE(handle.Open(held));
  ASSERT_FALSE(marker.OpenForWriting(handle, FreeSpacePurge::kMarkerName));
  ASSERT_FALSE(marker.TryLock());
  std::vector<std::pair<std::string, Leftover>> told;
  for (const LeftoverFillFolder& leftover : RemoveLeftoverFillFolders(list))
    told.emplace_back(leftover.folder, leftover.what);
  EXPECT_EQ(told, (std::vector<std::pair<std::string, Leftover>>{
                      {left, Leftover::Removed}, {held, Leftover::InUse}, {gone, Leftover::Missing}}));
  EXPECT_FALSE(Platform::FolderExists(left));
  EXPECT_TRUE(Platform::FileExists(JoinPath(held, "_kx_dummy1")));
  EXPECT_EQ(ReadFile(list), held + "\n");
}

}  // namespace
