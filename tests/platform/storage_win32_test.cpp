#include <gtest/gtest.h>

#include "operation/volume_warnings.h"
#include "platform/errors.h"
#include "platform/storage.h"
#include "support/file_inspection.h"
#include "support/temp_folder.h"

#include <string>

// Under Wine drive C is a fixed NTFS drive; a share is named by its network path; a letter
// without a drive, a server without a share and no path lie on no drive.
TEST(QueryStorage, TellsTheFileSystemAndRootOfTheDriveOrShareThatHoldsThePath) {
  const TestSupport::TempFolder temp;
  const struct { std::string path; bool found, network; const char* mountPoint; } rows[] = {
      {temp / "not made", true, false, "C:\\"},
      {"//server/share", true, true, "\\\\server\\share\\"},
      {TestSupport::LetterWithoutDrive() + ":\\folder\\file", false, false, ""},
      {"\\\\server", false, false, ""}};
  for (const auto& row : rows) {
    Platform::StorageFacts facts;
    facts.solidState = true;
    facts.device = "stale";
    EXPECT_EQ(Platform::QueryStorage(row.path, facts),
              row.found ? std::error_code() : make_error_code(Platform::PlatformErrc::NoSuchDrive))
        << row.path;
    EXPECT_EQ(facts.network, row.network) << row.path;
    EXPECT_EQ(facts.mountPoint + facts.device, row.mountPoint) << row.path;
    EXPECT_EQ(facts.fileSystem, row.found && !row.network ? "NTFS" : "") << row.path;
    EXPECT_FALSE(facts.solidState && (row.network || !row.found)) << row.path;
  }
}

TEST(VolumeWarningsForPath, ADriveThatCannotBeExaminedIsSaidToBeUnknown) {
  const std::string path = TestSupport::LetterWithoutDrive() + ":\\folder\\";
  EXPECT_EQ(VolumeWarningsForPath(path), std::vector<std::string>{"The drive of " + path + " could not be "
            "examined (no mounted file system holds this path), so whether it keeps copies of the old data "
            "is not known."});
}
