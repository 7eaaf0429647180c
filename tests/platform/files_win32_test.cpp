// What only Windows has: creation times, hidden and system attributes, reparse points, devices
// and paths longer than 260 characters.

#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/win32/wide_text.h"
#include "support/file_inspection.h"
#include "support/reparse_points_win32.h"
#include "support/temp_folder.h"

#include <windows.h>
#undef GetFileAttributes

#include <string>

namespace {

using Platform::FileKind;
using Platform::PlatformErrc;
using TestSupport::AttributesOnDisk;
using TestSupport::ReadFile;
using TestSupport::TempFolder;
using TestSupport::WriteFile;

constexpr DWORD kThree = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

TEST(FileTimesWin32, TheCreationTimeIsSetOnlyWhenGivenAndTheZeroOfFiletimeIsRefused) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "times.txt", "t");
  Platform::FileTimes times;
  times.hasCreation = true;
  times.creation = {981'173'106, 123'456'700};
  times.modification = {1'000'000'000, 0};
  ASSERT_FALSE(Platform::SetFileTimes(path, times));
  // FILETIME's zero, which SetFileTime takes as "leave it as it is".
  Platform::FileTimes bad = times;
  bad.modification = {-11'644'473'600, 0};
  EXPECT_EQ(Platform::SetFileTimes(path, bad), std::errc::invalid_argument);

  if (TestSupport::RunningUnderWine()) GTEST_SKIP() << "Wine keeps no creation time of its own";
  times.hasCreation = false;
  times.creation = {};
  times.modification = {1'500'000'000, 0};
  ASSERT_FALSE(Platform::SetFileTimes(path, times));
  Platform::FileTimes read;
  ASSERT_FALSE(Platform::GetFileTimes(path, read));
  EXPECT_TRUE(read.hasCreation);
  EXPECT_EQ(read.creation, (Platform::FileTime{981'173'106, 123'456'700}));
  EXPECT_EQ(read.modification, times.modification);
}

TEST(AttributesWin32, AreReadAndClearedOneByOneAndARemovalDoesNotClearReadOnly) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "marked.txt", "keep");
  TestSupport::AddAttributes(path, kThree);
  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(path, attributes));
  EXPECT_TRUE(attributes.readOnly && attributes.hidden && attributes.system);

  EXPECT_TRUE(Platform::RemoveFile(path));
  EXPECT_EQ(ReadFile(path), "keep");
  EXPECT_FALSE(Platform::ClearReadOnly(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
  EXPECT_FALSE(Platform::ClearSystem(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, DWORD{FILE_ATTRIBUTE_HIDDEN});
  EXPECT_FALSE(Platform::ClearHidden(path));
  EXPECT_FALSE(Platform::ClearHidden(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, 0u);

  // The only attribute there is: clearing it must not be taken as "leave them as they are".
  ASSERT_TRUE(::SetFileAttributesW(TestSupport::WideLongPath(path).c_str(),
                                   FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(Platform::ClearReadOnly(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, 0u);

  const std::string sub = folder / "sub";
  ASSERT_FALSE(Platform::CreateFolder(sub));
  TestSupport::AddAttributes(sub, FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(Platform::ClearHidden(sub));
  EXPECT_EQ(AttributesOnDisk(sub) & kThree, 0u);
}

TEST(ReparsePointsWin32, AreEntriesLikeFilesThatNothingEntersWritesOrFollows) {
  TempFolder folder;
  const std::string target = folder / "target";
  ASSERT_FALSE(Platform::CreateFolder(target));
  const std::string inner = WriteFile(target + "\\inner.txt", "inner bytes");
  const std::string junction = folder / "junction";
  if (!TestSupport::MakeJunction(target, junction))
    GTEST_SKIP() << "this system cannot make a junction (Wine 8 cannot make reparse points)";

  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(junction, attributes));
  EXPECT_EQ(attributes.kind, FileKind::SymbolicLink);
  EXPECT_TRUE(Platform::FileExists(junction));
  const auto visitAll = [](const Platform::FolderEntry&) { return true; };
  for (const std::string& path : {junction, junction + "\\"}) {
    EXPECT_FALSE(Platform::FolderExists(path));
    EXPECT_EQ(Platform::ListFolder(path, visitAll), std::errc::not_a_directory);
  }
  bool listedAsFolder = true;
  ASSERT_FALSE(Platform::ListFolder(folder.Path(), [&](const Platform::FolderEntry& entry) {
    if (entry.name == "junction") listedAsFolder = entry.isFolder;
    return true;
  }));
  EXPECT_FALSE(listedAsFolder);
  EXPECT_EQ(Platform::RemoveFolder(junction), std::errc::not_a_directory);
  EXPECT_FALSE(Platform::CanWriteFolder(junction));
  EXPECT_EQ(Platform::ClearHidden(junction), PlatformErrc::NotARegularFile);
  EXPECT_EQ(Platform::SetFileTimes(junction, Platform::FileTimes{true, {1, 0}, {1, 0}, {1, 0}}),
            PlatformErrc::NotARegularFile);
  EXPECT_EQ(Platform::ReplaceFileAtomically(junction, "x"), PlatformErrc::NotARegularFile);

  // Removing the entry takes the junction away and leaves what it led to.
  EXPECT_FALSE(Platform::RemoveFile(junction));
  EXPECT_FALSE(Platform::FileExists(junction));
  EXPECT_EQ(ReadFile(inner), "inner bytes");
}

TEST(DevicesWin32, AreNeverOpenedAndANameLikeOneInAFolderIsAnOrdinaryFile) {
  for (const char* device : {"CON", "NUL", "COM1", "\\\\.\\PhysicalDrive0",
                             "//./C:", "\\\\?\\C:", "\\\\?\\GLOBALROOT\\Device\\Null"}) {
    Platform::FileAttributes attributes;
    EXPECT_FALSE(Platform::GetFileAttributes(device, attributes)) << device;
    EXPECT_EQ(attributes.kind, FileKind::Other) << device;
    EXPECT_EQ(Platform::RemoveFile(device), PlatformErrc::NotARegularFile) << device;
    std::string contents;
    EXPECT_EQ(Platform::ReadWholeFile(device, contents, 10), PlatformErrc::NotARegularFile);
  }
  TempFolder folder;
  ASSERT_FALSE(Platform::CreateNewFile(folder / "NUL", "a file called NUL"));
  EXPECT_EQ(TestSupport::ReadLongFile(folder / "NUL"), "a file called NUL");
  EXPECT_FALSE(Platform::RemoveFile(folder / "NUL"));
  EXPECT_FALSE(Platform::FileExists(folder / "NUL"));
}

TEST(PathsWin32, LongerThanTheOldLimitAreWrittenReadAndRemoved) {
  TempFolder folder;
  std::string deep = folder.Path() + std::string(60, 'a');
  for (char letter = 'b'; letter <= 'e'; ++letter) deep += "\\" + std::string(60, letter);
  ASSERT_FALSE(Platform::CreateFolders(deep));
  const std::string path = deep + "\\" + std::string(40, 'f') + ".txt";
  ASSERT_GT(path.size(), 300u);
  ASSERT_FALSE(Platform::CreateNewFile(path, "SECOND"));
  EXPECT_FALSE(Platform::ReplaceFileAtomically(path, "third"));
  std::string contents;
  EXPECT_FALSE(Platform::ReadWholeFile(path, contents, 100));
  EXPECT_EQ(contents, "third");
  EXPECT_FALSE(Platform::RemoveFile(path));
  EXPECT_FALSE(Platform::FileExists(path));
  EXPECT_FALSE(Platform::RemoveFolder(deep));
}

}  // namespace
