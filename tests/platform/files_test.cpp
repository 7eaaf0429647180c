// Files, folders and store files as every system's platform layer gives them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
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

using namespace TestSupport;
using Platform::FileKind;
using Platform::PlatformErrc;

constexpr auto kMissing = std::errc::no_such_file_or_directory;

TEST(FileTimes, AreWrittenAndReadBackExactlyAndBadOnesAreErrors) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "times.txt", "t");
  // The modification time lies before 1970; only Windows sets the creation time.
  const Platform::FileTimes times{true, {981'173'106, 123'456'700}, {1'000'000'000, 999'999'900},
                                  {-31'536'000, 100}};
  ASSERT_FALSE(Platform::SetFileTimes(path, times));
  Platform::FileTimes read;
  ASSERT_FALSE(Platform::GetFileTimes(path, read));
  EXPECT_EQ(std::pair(read.access, read.modification), std::pair(times.access, times.modification));
  // Nanoseconds out of range are refused; on Windows so is FILETIME's zero, which SetFileTime takes
  // as "leave it as it is".
  std::vector<Platform::FileTimes> wrong{{false, {}, {0, 1'000'000'000}, {}}, {false, {}, {}, {0, -1}}};
#ifdef _WIN32
  wrong.push_back({false, {}, {1, 0}, {-11'644'473'600, 0}});
#endif
  for (const auto& bad : wrong) EXPECT_EQ(Platform::SetFileTimes(path, bad), std::errc::invalid_argument);
}

TEST(MissingEntries, AreReportedAsMissingByEveryCall) {
  TempFolder folder;
  for (const std::string& missing : {folder / "missing.txt", folder / NativePath("none/x.txt")}) {
    SCOPED_TRACE(missing);
    Platform::FileAttributes attributes;
    attributes.kind = FileKind::Regular;
    Platform::FileTimes times;
    std::string contents;
    const std::error_code errors[] = {
        Platform::GetFileAttributes(missing, attributes), Platform::GetFileTimes(missing, times),
        Platform::SetFileTimes(missing, times), Platform::RemoveFile(missing),
        Platform::RemoveFolder(missing), Platform::ClearReadOnly(missing),
        Platform::ListFolder(missing, [](const auto&) { return true; }),
        Platform::ReadWholeFile(missing, contents, 10)};
    for (const std::error_code& error : errors) EXPECT_EQ(error, kMissing) << &error - errors;
    EXPECT_EQ(attributes.kind, FileKind::Missing);
    EXPECT_FALSE(Platform::FileExists(missing) || Platform::FolderExists(missing));
    EXPECT_FALSE(Platform::CanWriteFolder(missing));
  }
}

// Long names, so that the system hands the entries out in several batches; one name lies outside
// the code page.
TEST(Folders, AreListedOnceEachAndOnlyAnEmptyOneIsRemovedAsAFolder) {
  TempFolder folder;
  for (int index = 0; index < 300; ++index)
    WriteFile(folder / (std::to_string(index) + std::string(100, 'n')), "");
  const std::string name =
      "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD \xD0\xBA\xD0\xBE\xD1\x82 \xE7\x8C\xAB.txt";
  ASSERT_FALSE(Platform::CreateNewFile(folder / name, "xyzDEF"));
  EXPECT_EQ(Platform::CreateNewFile(folder / name, "other"), std::errc::file_exists);
  EXPECT_EQ(ReadFile(folder / name), "xyzDEF");
  const std::string sub = folder / "sub";
  ASSERT_FALSE(Platform::CreateFolder(sub));
  EXPECT_EQ(Platform::CreateFolder(sub), std::errc::file_exists);
  const std::string inner = WriteFile(sub + NativePath("/inner.txt"), "x");

  std::vector<std::string> entries;  // a real folder's name ends in "/"
  EXPECT_FALSE(Platform::ListFolder(folder.Path(), [&](const Platform::FolderEntry& entry) {
    entries.push_back(entry.name + (entry.isFolder ? "/" : ""));
    return true;
  }));
  std::sort(entries.begin(), entries.end());
  ASSERT_EQ(entries.size(), 302u);
  EXPECT_EQ(entries[0] + "|" + entries[300] + "|" + entries[301],
            "0" + std::string(100, 'n') + "|sub/|" + name);
  int visits = 0;
  EXPECT_FALSE(Platform::ListFolder(folder.Path(), [&](const auto&) { return ++visits < 3; }));
  EXPECT_EQ(visits, 3);

  EXPECT_TRUE(Platform::FileExists(inner) && !Platform::FolderExists(inner));
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FileSystemPath(inner)), {}), 1);
}

TEST(HomeFolder, IsTheUsersFolderWithoutATrailingSeparator) {
#ifdef _WIN32
  ScopedEnvironment home("USERPROFILE", "D:\\Users\\Someone\\");
  const char *named = "D:\\Users\\Someone", *root = "C:\\";
#else
  ScopedEnvironment home("HOME", "/home/someone//");
  const char *named = "/home/someone", *root = "/";
#endif
  EXPECT_EQ(Platform::HomeFolder(), named);
  home.Set(root);
  EXPECT_EQ(Platform::HomeFolder(), root);
}
