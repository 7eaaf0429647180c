#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/errors.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace {

using Platform::PlatformErrc;
using TestSupport::ReadFile;
using TestSupport::TempFolder;
using TestSupport::WriteFile;

mode_t ModeOf(const std::string& path) {
  struct stat entry {};
  EXPECT_EQ(::lstat(path.c_str(), &entry), 0) << path;
  return entry.st_mode & 07777;
}

TEST(FileTimes, ALinkHasItsOwnTimesAndItsTargetKeepsItsTimes) {
  TempFolder folder;
  const std::string target = WriteFile(folder / "target", "x");
  ASSERT_EQ(::symlink(target.c_str(), (folder / "link").c_str()), 0);
  Platform::FileTimes targetBefore;
  ASSERT_FALSE(Platform::GetFileTimes(target, targetBefore));

  Platform::FileTimes linkTimes;
  linkTimes.access = {86'400, 1};
  linkTimes.modification = {172'800, 2};
  ASSERT_FALSE(Platform::SetFileTimes(folder / "link", linkTimes));

  Platform::FileTimes read;
  ASSERT_FALSE(Platform::GetFileTimes(folder / "link", read));
  EXPECT_EQ(read.modification, linkTimes.modification);
  ASSERT_FALSE(Platform::GetFileTimes(target, read));
  EXPECT_EQ(read.modification, targetBefore.modification);
  EXPECT_EQ(read.access, targetBefore.access);
}

TEST(FileTimes, NanosecondsOutOfRangeAndMissingFilesAreErrors) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "file", "x");
  Platform::FileTimes times;
  times.modification = {0, 1'000'000'000};
  EXPECT_EQ(Platform::SetFileTimes(path, times), std::errc::invalid_argument);
  EXPECT_EQ(Platform::GetFileTimes(folder / "absent", times), std::errc::no_such_file_or_directory);
  EXPECT_EQ(Platform::SetFileTimes(folder / "absent", {}), std::errc::no_such_file_or_directory);
}

TEST(FileAttributes, TellTheKindWithoutFollowingLinks) {
  TempFolder folder;
  const std::string file = WriteFile(folder / "file", "x");
  ASSERT_EQ(::mkdir((folder / "sub").c_str(), 0700), 0);
  ASSERT_EQ(::symlink((folder / "sub").c_str(), (folder / "link").c_str()), 0);
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);

  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(file, attributes));
  EXPECT_EQ(attributes.kind, Platform::FileKind::Regular);
  ASSERT_FALSE(Platform::GetFileAttributes(folder / "sub", attributes));
  EXPECT_EQ(attributes.kind, Platform::FileKind::Directory);
  ASSERT_FALSE(Platform::GetFileAttributes(folder / "link", attributes));
  EXPECT_EQ(attributes.kind, Platform::FileKind::SymbolicLink);
  ASSERT_FALSE(Platform::GetFileAttributes(folder / "pipe", attributes));
  EXPECT_EQ(attributes.kind, Platform::FileKind::Other);
  EXPECT_EQ(Platform::GetFileAttributes(folder / "absent", attributes),
            std::errc::no_such_file_or_directory);
  EXPECT_EQ(attributes.kind, Platform::FileKind::Missing);

  EXPECT_FALSE(Platform::FolderExists(folder / "link"));
  EXPECT_TRUE(Platform::FileExists(folder / "link"));
  EXPECT_FALSE(Platform::FileExists(folder / "sub"));
  EXPECT_TRUE(Platform::FolderExists(folder / "sub"));
}

TEST(FileAttributes, HiddenMeansTheNameBeginsWithADotAndNothingIsASystemFile) {
  TempFolder folder;
  WriteFile(folder / ".profile", "x");
  WriteFile(folder / "a.txt", "x");
  ASSERT_EQ(::mkdir((folder / ".cache").c_str(), 0700), 0);

  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(folder / ".profile", attributes));
  EXPECT_TRUE(attributes.hidden);
  EXPECT_FALSE(attributes.system);
  ASSERT_FALSE(Platform::GetFileAttributes(folder / ".cache/", attributes));
  EXPECT_TRUE(attributes.hidden);
  ASSERT_FALSE(Platform::GetFileAttributes(folder / "a.txt", attributes));
  EXPECT_FALSE(attributes.hidden);
  EXPECT_FALSE(Platform::ClearHidden(folder / ".profile"));
  EXPECT_FALSE(Platform::ClearSystem(folder / "a.txt"));
}

TEST(ReadOnly, ClearingAddsOnlyTheOwnersWritePermission) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "file", "x");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(path, attributes));
  EXPECT_TRUE(attributes.readOnly);

  EXPECT_FALSE(Platform::ClearReadOnly(path));
  EXPECT_EQ(ModeOf(path), 0644u);
  ASSERT_FALSE(Platform::GetFileAttributes(path, attributes));
  EXPECT_FALSE(attributes.readOnly);
}

TEST(ReadOnly, ClearingRefusesALinkAndLeavesItsTargetReadOnly) {
  TempFolder folder;
  const std::string target = WriteFile(folder / "target", "x");
  ASSERT_EQ(::chmod(target.c_str(), 0400), 0);
  ASSERT_EQ(::symlink(target.c_str(), (folder / "link").c_str()), 0);

  EXPECT_EQ(Platform::ClearReadOnly(folder / "link"), PlatformErrc::NotARegularFile);
  EXPECT_EQ(ModeOf(target), 0400u);
}

TEST(RemoveFile, RemovesALinkButNotItsTargetAndNeverAFolder) {
  TempFolder folder;
  const std::string target = WriteFile(folder / "target", "x");
  ASSERT_EQ(::symlink(target.c_str(), (folder / "link").c_str()), 0);
  ASSERT_EQ(::mkdir((folder / "sub").c_str(), 0700), 0);

  EXPECT_FALSE(Platform::RemoveFile(folder / "link"));
  EXPECT_FALSE(Platform::FileExists(folder / "link"));
  EXPECT_EQ(ReadFile(target), "x");
  EXPECT_TRUE(Platform::RemoveFile(folder / "sub"));
  EXPECT_TRUE(Platform::FolderExists(folder / "sub"));
  EXPECT_EQ(Platform::RemoveFile(folder / "link"), std::errc::no_such_file_or_directory);
  EXPECT_FALSE(Platform::RemoveFile(target));
  EXPECT_FALSE(Platform::FileExists(target));
}

}  // namespace
