#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/win32/wide_text.h"
#include "support/environment.h"
#include "support/file_inspection.h"
#include "support/reparse_points_win32.h"
#include "support/temp_folder.h"

#include <windows.h>
#undef GetFileAttributes

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Platform::FileKind;
using Platform::PlatformErrc;
using TestSupport::MakeJunction;
using TestSupport::ReadFile;
using TestSupport::RunningUnderWine;
using TestSupport::TempFolder;
using TestSupport::WriteFile;

constexpr auto kMissing = std::errc::no_such_file_or_directory;

DWORD AttributesOf(const std::string& path) {
  return ::GetFileAttributesW(Platform::Win32::LongPath(path).c_str());
}

void SetAttributes(const std::string& path, DWORD attributes) {
  ASSERT_TRUE(::SetFileAttributesW(Platform::Win32::LongPath(path).c_str(), attributes)) << path;
}

TEST(NewFileWin32, IsMadeOnceAndNeverReplaced) {
  TempFolder folder;
  const std::string path = folder / "data.bin";
  ASSERT_FALSE(Platform::CreateNewFile(path, "xyzDEF"));
  EXPECT_EQ(Platform::CreateNewFile(path, "other"), std::errc::file_exists);
  EXPECT_EQ(ReadFile(path), "xyzDEF");
}

TEST(FileTimesWin32, AllThreeTimesComeBackTo100Nanoseconds) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "times.txt", "t");
  Platform::FileTimes times;
  times.hasCreation = true;
  times.creation = {981'173'106, 123'456'700};
  times.access = {1'000'000'000, 999'999'900};
  times.modification = {-31'536'000, 100};  // before 1970
  ASSERT_FALSE(Platform::SetFileTimes(path, times));
  Platform::FileTimes read;
  ASSERT_FALSE(Platform::GetFileTimes(path, read));
  EXPECT_TRUE(read.hasCreation);
  EXPECT_EQ(read.access, times.access);
  EXPECT_EQ(read.modification, times.modification);

  // Out of FILETIME's range, or its zero that SetFileTime takes as "leave it": refused.
  Platform::FileTimes bad = times;
  bad.access.nanoseconds = 1'000'000'000;
  EXPECT_EQ(Platform::SetFileTimes(path, bad), std::errc::invalid_argument);
  bad = times;
  bad.modification = {-11'644'473'600, 0};
  EXPECT_EQ(Platform::SetFileTimes(path, bad), std::errc::invalid_argument);
  EXPECT_EQ(Platform::SetFileTimes(folder / "missing", times), kMissing);

  if (RunningUnderWine()) GTEST_SKIP() << "Wine keeps no creation time apart from the others";
  EXPECT_EQ(read.creation, times.creation);
  Platform::FileTimes withoutCreation = times;
  withoutCreation.hasCreation = false;
  withoutCreation.creation = {};
  withoutCreation.modification = {1'500'000'000, 0};
  ASSERT_FALSE(Platform::SetFileTimes(path, withoutCreation));
  ASSERT_FALSE(Platform::GetFileTimes(path, read));
  EXPECT_EQ(read.creation, times.creation);
  EXPECT_EQ(read.modification, withoutCreation.modification);
}

TEST(AttributesWin32, AreReadAndClearedOneByOneAndARemovalDoesNotClearReadOnly) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "marked.txt", "keep");
  SetAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(path, attributes));
  EXPECT_EQ(attributes.kind, FileKind::Regular);
  EXPECT_TRUE(attributes.readOnly && attributes.hidden && attributes.system);

  EXPECT_TRUE(Platform::RemoveFile(path));
  EXPECT_EQ(ReadFile(path), "keep");
  EXPECT_TRUE(AttributesOf(path) & FILE_ATTRIBUTE_READONLY);

  constexpr DWORD kThree = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_FALSE(Platform::ClearReadOnly(path));
  EXPECT_EQ(AttributesOf(path) & kThree, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
  EXPECT_FALSE(Platform::ClearSystem(path));
  EXPECT_EQ(AttributesOf(path) & kThree, DWORD{FILE_ATTRIBUTE_HIDDEN});
  EXPECT_FALSE(Platform::ClearHidden(path));
  EXPECT_FALSE(Platform::ClearHidden(path));
  EXPECT_EQ(AttributesOf(path) & kThree, 0u);

  // The only attribute there is: clearing it must not be taken as "leave them as they are".
  SetAttributes(path, FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(Platform::ClearReadOnly(path));
  EXPECT_EQ(AttributesOf(path) & kThree, 0u);
  EXPECT_FALSE(Platform::RemoveFile(path));
  EXPECT_FALSE(Platform::FileExists(path));

  const std::string sub = folder / "sub";
  ASSERT_FALSE(Platform::CreateFolder(sub));
  SetAttributes(sub, FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(Platform::ClearHidden(sub));
  EXPECT_EQ(AttributesOf(sub) & kThree, 0u);
  EXPECT_EQ(Platform::ClearReadOnly(folder / "missing"), kMissing);
}

TEST(ReparsePointsWin32, AreEntriesLikeFilesThatNothingEntersWritesOrFollows) {
  TempFolder folder;
  const std::string target = folder / "target";
  ASSERT_FALSE(Platform::CreateFolder(target));
  const std::string inner = WriteFile(target + "\\inner.txt", "inner bytes");
  const std::string junction = folder / "junction";
  if (!MakeJunction(target, junction))
    GTEST_SKIP() << "this system cannot make a junction (Wine 8 cannot make reparse points)";

  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(junction, attributes));
  EXPECT_EQ(attributes.kind, FileKind::SymbolicLink);
  EXPECT_TRUE(Platform::FileExists(junction));
  EXPECT_FALSE(Platform::FolderExists(junction));
  EXPECT_FALSE(Platform::FolderExists(junction + "\\"));
  const auto visitAll = [](const Platform::FolderEntry&) { return true; };
  EXPECT_EQ(Platform::ListFolder(junction, visitAll), std::errc::not_a_directory);
  EXPECT_EQ(Platform::ListFolder(junction + "\\", visitAll), std::errc::not_a_directory);
  std::vector<std::pair<std::string, bool>> entries;
  ASSERT_FALSE(Platform::ListFolder(folder.Path(), [&](const Platform::FolderEntry& entry) {
    entries.emplace_back(entry.name, entry.isFolder);
    return true;
  }));
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries,
            (std::vector<std::pair<std::string, bool>>{{"junction", false}, {"target", true}}));
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

TEST(PathsWin32, LongPathsAndNamesOutsideTheCodePageWorkAndMissingOnesSaySo) {
  TempFolder folder;
  std::string deep = folder.Path() + std::string(60, 'a');
  for (char letter = 'b'; letter <= 'e'; ++letter) deep += "\\" + std::string(60, letter);
  ASSERT_FALSE(Platform::CreateFolders(deep));
  const std::string name =
      "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD \xD0\xBA\xD0\xBE\xD1\x82 \xE7\x8C\xAB.txt";
  for (const std::string& path : {deep + "\\" + name, folder / name}) {
    SCOPED_TRACE(path);
    ASSERT_FALSE(Platform::CreateNewFile(path, "SECOND"));
    EXPECT_EQ(ReadFile(path), "SECOND");
    EXPECT_FALSE(Platform::ReplaceFileAtomically(path, "third"));
    std::string contents;
    EXPECT_FALSE(Platform::ReadWholeFile(path, contents, 100));
    EXPECT_EQ(contents, "third");
    EXPECT_FALSE(Platform::RemoveFile(path));
    EXPECT_FALSE(Platform::FileExists(path));
  }
  EXPECT_GT(deep.size() + name.size(), 300u);

  for (const std::string& missing : {folder / "missing.txt", folder / "none\\missing.txt"}) {
    SCOPED_TRACE(missing);
    Platform::FileAttributes attributes;
    EXPECT_EQ(Platform::GetFileAttributes(missing, attributes), kMissing);
    EXPECT_EQ(attributes.kind, FileKind::Missing);
    Platform::FileTimes times;
    EXPECT_EQ(Platform::GetFileTimes(missing, times), kMissing);
    EXPECT_EQ(Platform::RemoveFile(missing), kMissing);
    EXPECT_EQ(Platform::RemoveFolder(missing), kMissing);
    EXPECT_EQ(Platform::ListFolder(missing, [](const auto&) { return true; }), kMissing);
    EXPECT_FALSE(Platform::FileExists(missing) || Platform::FolderExists(missing));
  }
}

TEST(FoldersWin32, ListEveryEntryOnceAcrossManyBatchesAndRemoveOnlyEmptyRealFolders) {
  TempFolder folder;
  std::set<std::string> made;
  for (int index = 0; index < 400; ++index) {
    std::string name = std::to_string(index) + "-" + std::string(100, 'n');
    ASSERT_FALSE(Platform::CreateNewFile(folder / name, ""));
    made.insert(name);
  }
  ASSERT_FALSE(Platform::CreateFolder(folder / "sub"));
  EXPECT_EQ(Platform::CreateFolder(folder / "sub"), std::errc::file_exists);
  WriteFile(folder / "sub\\inner.txt", "x");

  std::multiset<std::string> files;
  std::vector<std::string> folders;
  ASSERT_FALSE(Platform::ListFolder(folder.Path(), [&](const Platform::FolderEntry& entry) {
    if (entry.isFolder) {
      folders.push_back(entry.name);
    } else {
      files.insert(entry.name);
    }
    return true;
  }));
  EXPECT_EQ(files, std::multiset<std::string>(made.begin(), made.end()));
  EXPECT_EQ(folders, std::vector<std::string>{"sub"});
  int visits = 0;
  EXPECT_FALSE(Platform::ListFolder(folder.Path(), [&](const auto&) { return ++visits < 3; }));
  EXPECT_EQ(visits, 3);

  EXPECT_EQ(Platform::RemoveFile(folder / "sub"), std::errc::is_a_directory);
  EXPECT_TRUE(Platform::RemoveFolder(folder / "sub"));
  EXPECT_TRUE(Platform::FolderExists(folder / "sub"));
  EXPECT_EQ(Platform::RemoveFolder(folder / "sub\\inner.txt"), std::errc::not_a_directory);
  ASSERT_FALSE(Platform::RemoveFile(folder / "sub\\inner.txt"));
  EXPECT_FALSE(Platform::RemoveFolder(folder / "sub\\"));
  EXPECT_FALSE(Platform::FolderExists(folder / "sub"));
}

TEST(StoreFilesWin32, AreReplacedWholeWithoutLeftoversAndOnlyRegularFilesAreTaken) {
  TempFolder folder;
  const std::string store = folder / "a\\b\\store.txt";
  ASSERT_FALSE(Platform::CreateFolders(folder / "a\\b\\"));
  EXPECT_FALSE(Platform::ReplaceFileAtomically(store, "one"));
  EXPECT_FALSE(Platform::ReplaceFileAtomically(store, "two two"));
  std::string contents = "unchanged";
  EXPECT_EQ(Platform::ReadWholeFile(store, contents, 6), std::errc::file_too_large);
  EXPECT_EQ(contents, "unchanged");
  EXPECT_FALSE(Platform::ReadWholeFile(store, contents, 7));
  EXPECT_EQ(contents, "two two");
  std::vector<std::string> names;
  ASSERT_FALSE(Platform::ListFolder(folder / "a\\b", [&](const Platform::FolderEntry& entry) {
    names.push_back(entry.name);
    return true;
  }));
  EXPECT_EQ(names, std::vector<std::string>{"store.txt"});

  EXPECT_EQ(Platform::ReplaceFileAtomically(folder / "a", "x"), PlatformErrc::NotARegularFile);
  EXPECT_EQ(Platform::ReadWholeFile(folder / "a", contents, 10), PlatformErrc::NotARegularFile);
  EXPECT_EQ(Platform::CreateFolders(store + "\\below"), std::errc::not_a_directory);
  EXPECT_EQ(Platform::ReadWholeFile(folder / "none", contents, 10), kMissing);

  // The probe for a writable folder leaves nothing behind.
  EXPECT_TRUE(Platform::CanWriteFolder(folder / "a\\b"));
  EXPECT_FALSE(Platform::CanWriteFolder(store));
  EXPECT_FALSE(Platform::CanWriteFolder(folder / "none"));
  names.clear();
  ASSERT_FALSE(Platform::ListFolder(folder / "a\\b", [&](const Platform::FolderEntry& entry) {
    names.push_back(entry.name);
    return true;
  }));
  EXPECT_EQ(names, std::vector<std::string>{"store.txt"});
}

TEST(HomeFolderWin32, IsTheUserProfileWithoutATrailingSeparator) {
  TestSupport::ScopedEnvironment profile("USERPROFILE", "D:\\Users\\Someone\\");
  EXPECT_EQ(Platform::HomeFolder(), "D:\\Users\\Someone");
  profile.Set("C:\\");
  EXPECT_EQ(Platform::HomeFolder(), "C:\\");
}

}  // namespace
