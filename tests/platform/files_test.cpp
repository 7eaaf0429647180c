// Files, folders and store files as every system's platform layer gives them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "support/environment.h"
#include "support/file_setup.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

namespace {

using Platform::FileKind;
using Platform::PlatformErrc;
using TestSupport::NativePath;
using TestSupport::ReadFile;
using TestSupport::TempFolder;
using TestSupport::WriteFile;

constexpr auto kMissing = std::errc::no_such_file_or_directory;

// The folder's entries, sorted, each with whether it is a real folder.
std::vector<std::pair<std::string, bool>> Entries(const std::string& folder) {
  std::vector<std::pair<std::string, bool>> entries;
  EXPECT_FALSE(Platform::ListFolder(folder, [&](const Platform::FolderEntry& entry) {
    entries.emplace_back(entry.name, entry.isFolder);
    return true;
  }));
  std::sort(entries.begin(), entries.end());
  return entries;
}

TEST(FileTimes, AreWrittenAndReadBackExactlyAndBadOrMissingOnesAreErrors) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "times.txt", "t");
  Platform::FileTimes times;
  times.access = {1'000'000'000, 999'999'900};
  times.modification = {-31'536'000, 100};  // before 1970
  ASSERT_FALSE(Platform::SetFileTimes(path, times));
  Platform::FileTimes read;
  ASSERT_FALSE(Platform::GetFileTimes(path, read));
  EXPECT_EQ(read.access, times.access);
  EXPECT_EQ(read.modification, times.modification);
  EXPECT_EQ(Platform::SetFileTimes(path, {false, {}, {0, 1'000'000'000}, {}}),
            std::errc::invalid_argument);
  EXPECT_EQ(Platform::SetFileTimes(path, {false, {}, {}, {0, -1}}), std::errc::invalid_argument);
  EXPECT_EQ(Platform::SetFileTimes(folder / "missing", times), kMissing);
}

TEST(MissingEntries, AreReportedAsMissingByEveryCall) {
  TempFolder folder;
  for (const std::string& missing : {folder / "missing.txt", folder / NativePath("none/x.txt")}) {
    SCOPED_TRACE(missing);
    Platform::FileAttributes attributes;
    attributes.kind = FileKind::Regular;
    EXPECT_EQ(Platform::GetFileAttributes(missing, attributes), kMissing);
    EXPECT_EQ(attributes.kind, FileKind::Missing);
    Platform::FileTimes times;
    EXPECT_EQ(Platform::GetFileTimes(missing, times), kMissing);
    EXPECT_EQ(Platform::RemoveFile(missing), kMissing);
    EXPECT_EQ(Platform::RemoveFolder(missing), kMissing);
    EXPECT_EQ(Platform::ClearReadOnly(missing), kMissing);
    EXPECT_EQ(Platform::ListFolder(missing, [](const auto&) { return true; }), kMissing);
    std::string contents;
    EXPECT_EQ(Platform::ReadWholeFile(missing, contents, 10), kMissing);
    EXPECT_FALSE(Platform::FileExists(missing) || Platform::FolderExists(missing));
    EXPECT_FALSE(Platform::CanWriteFolder(missing));
  }
}

TEST(NewFile, IsMadeOnceAndNeverReplacedAndNamesOutsideTheCodePageWork) {
  TempFolder folder;
  const std::string name =
      "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD \xD0\xBA\xD0\xBE\xD1\x82 \xE7\x8C\xAB.txt";
  for (const std::string& path : {folder / "data.bin", folder / name}) {
    SCOPED_TRACE(path);
    ASSERT_FALSE(Platform::CreateNewFile(path, "xyzDEF"));
    EXPECT_EQ(Platform::CreateNewFile(path, "other"), std::errc::file_exists);
    EXPECT_EQ(ReadFile(path), "xyzDEF");
    EXPECT_TRUE(Platform::FileExists(path) && !Platform::FolderExists(path));
    EXPECT_FALSE(Platform::RemoveFile(path));
    EXPECT_FALSE(Platform::FileExists(path));
  }
}

TEST(Folders, AreListedOnceEachAndOnlyAnEmptyOneIsRemovedAsAFolder) {
  TempFolder folder;
  // Long names, so that the system hands the entries out in several batches.
  for (int index = 0; index < 300; ++index)
    WriteFile(folder / (std::to_string(index) + std::string(100, 'n')), "");
  const std::string sub = folder / "sub";
  ASSERT_FALSE(Platform::CreateFolder(sub));
  EXPECT_EQ(Platform::CreateFolder(sub), std::errc::file_exists);
  const std::string inner = WriteFile(sub + NativePath("/inner.txt"), "x");

  const auto entries = Entries(folder.Path());
  ASSERT_EQ(entries.size(), 301u);
  EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.second; }),
            1);
  EXPECT_EQ(entries.back(), (std::pair<std::string, bool>{"sub", true}));
  int visits = 0;
  EXPECT_FALSE(Platform::ListFolder(folder.Path(), [&](const auto&) { return ++visits < 3; }));
  EXPECT_EQ(visits, 3);

  EXPECT_TRUE(Platform::RemoveFile(sub));
  EXPECT_TRUE(Platform::RemoveFolder(sub));
  EXPECT_EQ(Platform::RemoveFolder(inner), std::errc::not_a_directory);
  ASSERT_FALSE(Platform::RemoveFile(inner));
  EXPECT_FALSE(Platform::RemoveFolder(sub + NativePath("/")));
  EXPECT_FALSE(Platform::FolderExists(sub) || Platform::FileExists(inner));
}

TEST(StoreFiles, AreReplacedWholeWithoutLeftoversAndOnlyRegularFilesAreTaken) {
  TempFolder folder;
  const std::string inner = folder / NativePath("a/b");
  const std::string store = inner + NativePath("/store.txt");
  ASSERT_FALSE(Platform::CreateFolders(inner + NativePath("/")));
  EXPECT_FALSE(Platform::CreateFolders(inner));
  EXPECT_FALSE(Platform::ReplaceFileAtomically(store, "one"));
  EXPECT_FALSE(Platform::ReplaceFileAtomically(store, "two two"));
  std::string contents = "unchanged";
  EXPECT_EQ(Platform::ReadWholeFile(store, contents, 6), std::errc::file_too_large);
  EXPECT_EQ(contents, "unchanged");
  EXPECT_FALSE(Platform::ReadWholeFile(store, contents, 7));
  EXPECT_EQ(contents, "two two");

  EXPECT_EQ(Platform::ReplaceFileAtomically(folder / "a", "x"), PlatformErrc::NotARegularFile);
  EXPECT_EQ(Platform::ReadWholeFile(folder / "a", contents, 10), PlatformErrc::NotARegularFile);
  EXPECT_EQ(Platform::CreateFolders(store + NativePath("/below")), std::errc::not_a_directory);

  // The probe for a writable folder leaves nothing behind either.
  EXPECT_TRUE(Platform::CanWriteFolder(inner));
  EXPECT_FALSE(Platform::CanWriteFolder(store));
  EXPECT_EQ(Entries(inner), (std::vector<std::pair<std::string, bool>>{{"store.txt", false}}));
}

TEST(HomeFolder, IsTheUsersFolderWithoutATrailingSeparator) {
#ifdef _WIN32
  TestSupport::ScopedEnvironment home("USERPROFILE", "D:\\Users\\Someone\\");
  EXPECT_EQ(Platform::HomeFolder(), "D:\\Users\\Someone");
  home.Set("C:\\");
  EXPECT_EQ(Platform::HomeFolder(), "C:\\");
#else
  TestSupport::ScopedEnvironment home("HOME", "/home/someone//");
  EXPECT_EQ(Platform::HomeFolder(), "/home/someone");
  home.Set("/");
  EXPECT_EQ(Platform::HomeFolder(), "/");
#endif
}

}  // namespace
