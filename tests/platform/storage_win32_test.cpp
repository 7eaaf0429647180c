#include <gtest/gtest.h>

#include "operation/volume_warnings.h"
#include "platform/errors.h"
#include "platform/storage.h"
#include "platform/win32/wide_text.h"
#include "support/file_inspection.h"
#include "support/reparse_points_win32.h"
#include "support/temp_folder.h"

#include <windows.h>

#include <cctype>
#include <string>

namespace {

using Platform::StorageFacts;

TEST(QueryStorage, TellsTheFileSystemAndRootOfTheDriveOfAFolderOrOfANameNotYetMade) {
  TestSupport::TempFolder temp;
  const std::string root = std::string(1, static_cast<char>(std::toupper(temp.Path()[0]))) + ":\\";
  wchar_t fileSystem[MAX_PATH + 1] = {};
  ASSERT_TRUE(::GetVolumeInformationW(Platform::Win32::Widen(root).c_str(), nullptr, 0, nullptr,
                                      nullptr, nullptr, fileSystem, MAX_PATH + 1));
  for (const std::string& path : {temp.Path(), temp / "not made"}) {
    StorageFacts facts;
    facts.device = "stale";
    ASSERT_FALSE(Platform::QueryStorage(path, facts)) << path;
    EXPECT_EQ(facts.fileSystem, Platform::Win32::Narrow(fileSystem)) << path;
    EXPECT_EQ(facts.mountPoint, root) << path;
    EXPECT_EQ(facts.device, "") << path;
    EXPECT_EQ(facts.copyOnWrite, facts.fileSystem == "ReFS") << path;
    EXPECT_FALSE(facts.network || facts.memory || facts.userSpace || facts.dataJournaled) << path;
    if (TestSupport::RunningUnderWine()) {
      // Wine's drive C is a fixed NTFS drive whose device tells nothing of its seek penalty.
      EXPECT_EQ(facts.fileSystem, "NTFS");
      EXPECT_FALSE(facts.solidState || facts.removableFlash || facts.compressed ||
                   facts.encrypted || facts.sparse)
          << path;
    }
  }
}

TEST(QueryStorage, AShareNamedByItsNetworkPathIsANetworkFileSystem) {
  for (const std::string& path :
       {std::string("\\\\server\\share\\folder\\file"), std::string("//server/share")}) {
    StorageFacts facts;
    facts.solidState = true;
    EXPECT_FALSE(Platform::QueryStorage(path, facts)) << path;
    EXPECT_TRUE(facts.network) << path;
    EXPECT_FALSE(facts.solidState) << path;
    EXPECT_EQ(facts.mountPoint, "\\\\server\\share\\") << path;
  }
}

TEST(QueryStorage, FindsNoDriveForALetterWithoutOneAServerWithoutShareOrNoPath) {
  const std::string missing = TestSupport::LetterWithoutDrive();
  ASSERT_FALSE(missing.empty());
  for (const std::string& path :
       {missing + ":\\folder\\file", std::string("\\\\server"), std::string()}) {
    StorageFacts facts;
    facts.fileSystem = "stale";
    facts.solidState = true;
    EXPECT_EQ(Platform::QueryStorage(path, facts), Platform::PlatformErrc::NoSuchDrive) << path;
    EXPECT_EQ(facts.fileSystem, "") << path;
    EXPECT_FALSE(facts.solidState) << path;
  }
}

}  // namespace

TEST(VolumeWarningsForPath, ADriveThatCannotBeExaminedIsSaidToBeUnknown) {
  const std::string path = TestSupport::LetterWithoutDrive() + ":\\folder\\";
  EXPECT_EQ(VolumeWarningsForPath(path),
            std::vector<std::string>{"The drive of " + path +
                                     " could not be examined (no mounted file system holds this "
                                     "path), so whether it keeps copies of the old data is not "
                                     "known."});
}
