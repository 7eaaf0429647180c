// What only Windows has: creation times, hidden and system attributes, reparse points, devices
// and paths longer than 260 characters.

#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "support/file_inspection.h"
#include "support/reparse_points_win32.h"
#include "support/temp_folder.h"

#include <windows.h>
#undef GetFileAttributes

#include <string>

namespace {

using Platform::PlatformErrc;
using TestSupport::AttributesOnDisk;
using TestSupport::TempFolder;

// FILETIME's zero, which SetFileTime takes as "leave it as it is", is refused.
TEST(FileTimesWin32, TheCreationTimeIsSetOnlyWhenGivenAndTheZeroOfFiletimeIsRefused) {
  TempFolder folder;
  const std::string path = TestSupport::WriteFile(folder / "times.txt", "t");
  Platform::FileTimes times{true, {981'173'106, 123'456'700}, {1, 0}, {-11'644'473'600, 0}};
  EXPECT_EQ(Platform::SetFileTimes(path, times), std::errc::invalid_argument);
  times.modification = {1'000'000'000, 0};
  ASSERT_FALSE(Platform::SetFileTimes(path, times));
  if (TestSupport::RunningUnderWine()) GTEST_SKIP() << "Wine keeps no creation time of its own";
  ASSERT_FALSE(Platform::SetFileTimes(path, Platform::FileTimes{false, {}, {1, 0}, {2, 0}}));
  ASSERT_FALSE(Platform::GetFileTimes(path, times));
  EXPECT_EQ(times.creation, (Platform::FileTime{981'173'106, 123'456'700}));
}

// A removal does not clear read-only; each attribute is cleared alone, also when it is the only
// one (which must not be taken as "leave them as they are").
TEST(AttributesWin32, AreReadAndClearedOneByOneAndARemovalDoesNotClearReadOnly) {
  TempFolder folder;
  const std::string path = TestSupport::WriteFile(folder / "marked.txt", "keep");
  constexpr DWORD kThree = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  TestSupport::AddAttributes(path, kThree);
  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(path, attributes));
  EXPECT_TRUE(attributes.readOnly && attributes.hidden && attributes.system);
  EXPECT_TRUE(Platform::RemoveFile(path));
  EXPECT_FALSE(Platform::ClearSystem(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
  EXPECT_FALSE(Platform::ClearHidden(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, DWORD{FILE_ATTRIBUTE_READONLY});
  EXPECT_FALSE(Platform::ClearReadOnly(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, 0u);
  EXPECT_EQ(TestSupport::ReadFile(path), "keep");
}

TEST(ReparsePointsWin32, AreEntriesLikeFilesThatNothingEntersWritesOrFollows) {
  TempFolder folder;
  const std::string junction = folder / "junction";
  ASSERT_FALSE(Platform::CreateFolder(folder / "target"));
  const std::string inner = TestSupport::WriteFile(folder / "target\\inner.txt", "inner bytes");
  TestSupport::FolderLinks links;
  if (!links.Make(folder / "target", junction))
    GTEST_SKIP() << "this system can make neither a junction nor a Unix link";
  EXPECT_FALSE(Platform::FolderExists(junction + "\\"));
  // A junction is no folder; Wine shows its stand-in, a Unix link, as no regular file.
  const auto refused = [](std::error_code error) {
    return error == std::errc::not_a_directory || error == PlatformErrc::NotARegularFile;
  };
  EXPECT_TRUE(refused(Platform::ListFolder(junction, [](const auto&) { return true; })));
  EXPECT_TRUE(refused(Platform::RemoveFolder(junction)));
  EXPECT_TRUE(Platform::FileExists(junction));
  EXPECT_EQ(Platform::ClearHidden(junction), PlatformErrc::NotARegularFile);
  EXPECT_EQ(Platform::ReplaceFileAtomically(junction, "x"), PlatformErrc::NotARegularFile);
  EXPECT_EQ(TestSupport::ReadFile(inner), "inner bytes");
}

// Devices are never opened; a name like one in a folder is an ordinary file.
TEST(DevicesWin32, AreNeverOpenedAndANameLikeOneInAFolderIsAnOrdinaryFile) {
  for (const char* device : {"NUL", "COM1", "\\\\.\\PhysicalDrive0", "//./C:", "\\\\?\\C:"}) {
    Platform::FileAttributes attributes;
    EXPECT_FALSE(Platform::GetFileAttributes(device, attributes)) << device;
    EXPECT_EQ(attributes.kind, Platform::FileKind::Other) << device;
    EXPECT_EQ(Platform::RemoveFile(device), PlatformErrc::NotARegularFile) << device;
  }
  TempFolder folder;
  ASSERT_FALSE(Platform::CreateNewFile(folder / "NUL", "a file called NUL"));
  EXPECT_EQ(TestSupport::ReadLongFile(folder / "NUL"), "a file called NUL");
  EXPECT_FALSE(Platform::RemoveFile(folder / "NUL"));
}

TEST(PathsWin32, LongerThanTheOldLimitAreWrittenReadAndRemoved) {
  TempFolder folder;
  const std::string deep = folder / (std::string(120, 'a') + "\\" + std::string(120, 'b'));
  ASSERT_FALSE(Platform::CreateFolders(deep));
  const std::string path = deep + "\\" + std::string(40, 'f') + ".txt";
  EXPECT_FALSE(Platform::ReplaceFileAtomically(path, "third"));
  std::string contents;
  EXPECT_FALSE(Platform::ReadWholeFile(path, contents, 100));
  EXPECT_EQ(contents, "third");
  EXPECT_FALSE(Platform::RemoveFile(path));
  EXPECT_FALSE(Platform::RemoveFolder(deep));
}

}  // namespace
