// What only POSIX has: links, pipes, permissions and names that hide by their first dot.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "support/temp_folder.h"

using Platform::FileKind;
using TestSupport::TempFolder;

// Nothing is a system file; clearing read-only adds only the owner's write permission. A link
// has times of its own and is removed or refused, never its target.
TEST(FileAttributes, TellKindHiddenAndReadOnlyWithoutFollowingLinks) {
  TempFolder folder;
  const std::string profile = TestSupport::WriteFile(folder / ".profile", "x");
  const std::string link = folder / "link";
  ASSERT_EQ(::chmod(profile.c_str(), 0444), 0);
  ASSERT_EQ(::mkdir((folder / ".cache").c_str(), 0700), 0);
  ASSERT_EQ(::symlink((folder / ".cache").c_str(), link.c_str()), 0);
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
  const struct { const char* name; FileKind kind; bool hidden, readOnly; } rows[] = {
      {".profile", FileKind::Regular, true, true}, {".cache/", FileKind::Directory, true, false},
      {"link", FileKind::SymbolicLink, false, false}, {"pipe", FileKind::Other, false, false}};
  for (const auto& row : rows) {
    Platform::FileAttributes a;
    ASSERT_FALSE(Platform::GetFileAttributes(folder / row.name, a)) << row.name;
    EXPECT_EQ((std::vector<int>{static_cast<int>(a.kind), a.hidden, a.readOnly, a.system}),
              (std::vector<int>{static_cast<int>(row.kind), row.hidden, row.readOnly, false}))
        << row.name;
  }
  EXPECT_FALSE(Platform::ClearHidden(profile) || Platform::ClearSystem(profile));
  EXPECT_FALSE(Platform::ClearReadOnly(profile));
  struct stat entry {};
  EXPECT_EQ(::lstat(profile.c_str(), &entry) == 0 ? entry.st_mode & 07777 : 0, 0644u);

  EXPECT_TRUE(Platform::FileExists(link) && !Platform::FolderExists(link));
  EXPECT_EQ(Platform::ClearReadOnly(link), Platform::PlatformErrc::NotARegularFile);
  const Platform::FileTimes linkTimes{false, {}, {86'400, 1}, {172'800, 2}};
  ASSERT_FALSE(Platform::SetFileTimes(link, linkTimes));
  Platform::FileTimes read;
  ASSERT_FALSE(Platform::GetFileTimes(link, read));
  EXPECT_EQ(read.modification, linkTimes.modification);
  EXPECT_FALSE(Platform::RemoveFile(link));
  EXPECT_FALSE(Platform::FileExists(link));
  EXPECT_TRUE(Platform::FolderExists(folder / ".cache"));
}
