// What only POSIX has: links, pipes, permissions and names that hide by their first dot.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/errors.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace {

using Platform::FileKind;
using TestSupport::TempFolder;
using TestSupport::WriteFile;

mode_t ModeOf(const std::string& path) {
  struct stat entry {};
  EXPECT_EQ(::lstat(path.c_str(), &entry), 0) << path;
  return entry.st_mode & 07777;
}

TEST(FileAttributes, TellKindAndHiddenWithoutFollowingLinksAndNothingIsASystemFile) {
  TempFolder folder;
  WriteFile(folder / ".profile", "x");
  ASSERT_EQ(::mkdir((folder / ".cache").c_str(), 0700), 0);
  ASSERT_EQ(::symlink((folder / ".cache").c_str(), (folder / "link").c_str()), 0);
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
  const struct {
    const char* name;
    FileKind kind;
    bool hidden;
  } rows[] = {{".profile", FileKind::Regular, true},
              {".cache/", FileKind::Directory, true},
              {"link", FileKind::SymbolicLink, false},
              {"pipe", FileKind::Other, false}};
  for (const auto& row : rows) {
    Platform::FileAttributes attributes;
    ASSERT_FALSE(Platform::GetFileAttributes(folder / row.name, attributes)) << row.name;
    EXPECT_EQ(attributes.kind, row.kind) << row.name;
    EXPECT_EQ(attributes.hidden, row.hidden) << row.name;
    EXPECT_FALSE(attributes.system) << row.name;
  }
  EXPECT_FALSE(Platform::FolderExists(folder / "link"));
  EXPECT_TRUE(Platform::FileExists(folder / "link"));
  EXPECT_FALSE(Platform::ClearHidden(folder / ".profile"));
  EXPECT_FALSE(Platform::ClearSystem(folder / ".profile"));
}

TEST(Links, HaveTheirOwnTimesAndAreRemovedOrRefusedButTheirTargetsAreLeftAsTheyAre) {
  TempFolder folder;
  const std::string target = WriteFile(folder / "target", "x");
  const std::string link = folder / "link";
  ASSERT_EQ(::chmod(target.c_str(), 0400), 0);
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  Platform::FileTimes targetBefore;
  ASSERT_FALSE(Platform::GetFileTimes(target, targetBefore));

  Platform::FileTimes linkTimes;
  linkTimes.access = {86'400, 1};
  linkTimes.modification = {172'800, 2};
  ASSERT_FALSE(Platform::SetFileTimes(link, linkTimes));
  Platform::FileTimes read;
  ASSERT_FALSE(Platform::GetFileTimes(link, read));
  EXPECT_EQ(read.modification, linkTimes.modification);
  ASSERT_FALSE(Platform::GetFileTimes(target, read));
  EXPECT_EQ(read.modification, targetBefore.modification);

  EXPECT_EQ(Platform::ClearReadOnly(link), Platform::PlatformErrc::NotARegularFile);
  EXPECT_EQ(ModeOf(target), 0400u);
  EXPECT_FALSE(Platform::RemoveFile(link));
  EXPECT_FALSE(Platform::FileExists(link));
  EXPECT_EQ(TestSupport::ReadFile(target), "x");
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

}  // namespace
