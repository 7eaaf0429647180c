#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/win32/wide_text.h"
#include "support/file_inspection.h"
#include "support/handle_step_hook.h"
#include "support/reparse_points_win32.h"
#include "support/file_setup.h"
#include "support/temp_folder.h"

#include <windows.h>
#undef GetFileAttributes

#include <string>

namespace {

using Platform::EntryStatus;
using Platform::FileHandle;
using Platform::FileIdentity;
using Platform::FileKind;
using Platform::FolderHandle;
using Platform::HandleStep;
using Platform::PlatformErrc;
using TestSupport::MakeFolder;
using TestSupport::ReadLongFile;
using TestSupport::TempFolder;
using TestSupport::WideLongPath;

constexpr auto kMissing = std::errc::no_such_file_or_directory;
const std::string kGone = "<cannot be read>";

void Rename(const std::string& from, const std::string& to) {
  ASSERT_TRUE(::MoveFileExW(WideLongPath(from).c_str(), WideLongPath(to).c_str(), 0)) << from;
}

// Names Windows takes for a device or trims in a path, and one outside the ANSI code page, are
// each the one file of that name in the folder.
TEST(FileHandleWin32, OneHandleWritesSetsTimesAndRemovesTheFileOnClosing) {
  for (const std::string name : {"NUL", "trailing dot.", "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD"}) {
    SCOPED_TRACE(name);
    TempFolder temp;
    ASSERT_FALSE(Platform::CreateNewFile(temp / name, "original"));
    FolderHandle folder;
    ASSERT_FALSE(folder.Open(temp.Path()));
    FileHandle file;
    ASSERT_FALSE(file.OpenForWriting(folder, name));
    ASSERT_FALSE(file.WriteAll("rrrr", 4));
    ASSERT_FALSE(file.Truncate(3));
    ASSERT_FALSE(file.Sync());
    EXPECT_EQ(ReadLongFile(temp / name), "rrr");
    const Platform::FileTimes times{true, {981'173'106, 123'456'700}, {1'000'000'000, 999'999'900},
                                    {-31'536'000, 100}};
    ASSERT_FALSE(file.SetTimes(times));
    EntryStatus status;
    ASSERT_FALSE(file.Status(status));
    EXPECT_EQ(status.times.modification, times.modification);
    if (!TestSupport::RunningUnderWine()) {
      EXPECT_EQ(status.times.creation, times.creation);
    }
    EntryStatus named;
    ASSERT_FALSE(folder.Status(name, named));
    EXPECT_TRUE(named.identity.known);
    EXPECT_EQ(named.identity, status.identity);
    ASSERT_FALSE(file.RemoveName(folder, name));
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(ReadLongFile(temp / name), kGone);
  }
}

// The name is taken away from under the handle and given to another file.
TEST(RemoveNameWin32, LeavesANameThatLeadsToAnotherEntryNow) {
  TempFolder temp;
  ASSERT_FALSE(Platform::CreateNewFile(temp / "victim", "victim bytes"));
  ASSERT_FALSE(Platform::CreateNewFile(temp / "other", "other bytes"));
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(folder, "victim"));
  const TestSupport::StepTrap trap(HandleStep::BeforeRemoveName, 1, [&](const std::string&) {
    Rename(temp / "victim", temp / "moved");
    Rename(temp / "other", temp / "victim");
  });
  EXPECT_EQ(file.RemoveName(folder, "victim"), PlatformErrc::NameReplaced);
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(ReadLongFile(temp / "moved") + "|" + ReadLongFile(temp / "victim"),
            "victim bytes|other bytes");
}

TEST(FolderHandleWin32, RefusesNamesThatAreNoPlainEntryAndWhatIsNoFolder) {
  TempFolder temp;
  MakeFolder(temp / "sub");
  ASSERT_FALSE(Platform::CreateNewFile(temp / "sub\\inner.txt", "inner"));
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path() + "\\\\"));
  EXPECT_EQ(folder.Path(), temp.Path());
  FolderHandle sub;
  EntryStatus status;
  FileHandle file;
  for (const char* name : {"", ".", "..", "sub\\..", "sub/x", "sub:stream", "*", "su?"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(folder.OpenSubfolder(name, sub), std::errc::invalid_argument);
    EXPECT_EQ(folder.Status(name, status), std::errc::invalid_argument);
    EXPECT_EQ(file.OpenForWriting(folder, name), std::errc::invalid_argument);
  }
  EXPECT_EQ(file.OpenForWriting(folder, "sub"), PlatformErrc::NotARegularFile);
  ASSERT_FALSE(folder.OpenSubfolder("sub", sub));
  EXPECT_EQ(sub.Path(), temp / "sub\\");
  FolderHandle inner;
  EXPECT_EQ(sub.OpenSubfolder("inner.txt", inner), PlatformErrc::NotAFolder);
  EXPECT_FALSE(inner.IsOpen());
  EXPECT_EQ(folder.Open(temp / "sub\\inner.txt\\"), PlatformErrc::NotAFolder);
  EXPECT_EQ(folder.Open("\\\\.\\C:"), PlatformErrc::NotAFolder);
  EXPECT_EQ(folder.Open(temp / "missing"), kMissing);
}

TEST(FolderHandleWin32, RemovesAnEmptySubfolderOnlyWhileItIsTheOneExpected) {
  TempFolder temp;
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FileIdentity identities[3];
  for (int i = 0; i < 3; ++i) {
    MakeFolder(temp / std::to_string(i));
    FolderHandle sub;
    ASSERT_FALSE(folder.OpenSubfolder(std::to_string(i), sub));
    ASSERT_FALSE(sub.Identity(identities[i]));
  }
  ASSERT_FALSE(Platform::CreateNewFile(temp / "1\\kept.txt", "kept"));
  EXPECT_EQ(folder.RemoveSubfolder("0", identities[2]), PlatformErrc::NameReplaced);
  EXPECT_EQ(folder.RemoveSubfolder("1", identities[1]), std::errc::directory_not_empty);
  EXPECT_EQ(ReadLongFile(temp / "1\\kept.txt"), "kept");
  ASSERT_FALSE(folder.RemoveSubfolder("0", identities[0]));
  EXPECT_EQ(folder.RemoveSubfolder("0", identities[0]), kMissing);
}

// A link in a subfolder's place, put there before the walk or just before the subfolder is
// opened, is never entered or removed in the folder's place.
TEST(FolderHandleWin32, NeverEntersOrChangesAReparsePointInASubfoldersPlace) {
  TempFolder temp;
  MakeFolder(temp / "target");
  MakeFolder(temp / "walked");
  TestSupport::FolderLinks links;
  if (!links.Make(temp / "target", temp / "link"))
    GTEST_SKIP() << "this system can make neither a junction nor a Unix link";
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FolderHandle sub;
  EXPECT_EQ(folder.OpenSubfolder("link", sub), PlatformErrc::NotAFolder);
  EntryStatus status;
  ASSERT_FALSE(folder.Status("link", status));
  EXPECT_EQ(status.kind, FileKind::SymbolicLink);
  FileIdentity target;
  ASSERT_FALSE(Platform::IdentityOfPath(temp / "target", target));
  EXPECT_EQ(folder.RemoveSubfolder("link", target), PlatformErrc::NameReplaced);
  EXPECT_EQ(folder.ClearReadOnly("link"), PlatformErrc::NotARegularFile);
  const TestSupport::StepTrap trap(HandleStep::BeforeOpenSubfolder, 1, [&](const std::string&) {
    Rename(temp / "walked", temp / "away");
    EXPECT_TRUE(links.Make(temp / "target", temp / "walked"));
  });
  EXPECT_EQ(folder.OpenSubfolder("walked", sub), PlatformErrc::NotAFolder);
}

// The other name of the same file is this file too: that name goes, the one opened stays.
TEST(IdentityWin32, IsOneForEveryNameOfAFileAndCountsItsNames) {
  TempFolder temp;
  ASSERT_FALSE(Platform::CreateNewFile(temp / "first", "shared"));
  ASSERT_TRUE(::CreateHardLinkW(WideLongPath(temp / "second").c_str(),
                                WideLongPath(temp / "first").c_str(), nullptr));
  FileIdentity first;
  ASSERT_FALSE(Platform::IdentityOfPath(temp / "first", first));
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(folder, "first"));
  EntryStatus status;
  ASSERT_FALSE(folder.Status("second", status));
  EXPECT_EQ(status.identity, first);
  EXPECT_EQ(status.links, 2u);
  ASSERT_FALSE(file.RemoveName(folder, "second"));
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(ReadLongFile(temp / "second") + "|" + ReadLongFile(temp / "first"), kGone + "|shared");
  EXPECT_EQ(Platform::IdentityOfPath(temp / "missing", first), kMissing);
  EXPECT_FALSE(first.known);
}

// Opening is refused with the system's reason; made read-only again while open, the removal
// clears it through the handle.
TEST(AttributesThroughHandlesWin32, ReadOnlyIsClearedAloneAndNeverBlocksARemoval) {
  TempFolder temp;
  ASSERT_FALSE(Platform::CreateNewFile(temp / "marked.txt", "keep"));
  TestSupport::AddAttributes(temp / "marked.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FileHandle file;
  EXPECT_EQ(file.OpenForWriting(folder, "marked.txt"),
            std::error_code(ERROR_ACCESS_DENIED, std::system_category()));
  ASSERT_FALSE(folder.ClearReadOnly("marked.txt"));
  EXPECT_EQ(TestSupport::AttributesOnDisk(temp / "marked.txt") &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            DWORD{FILE_ATTRIBUTE_HIDDEN});
  ASSERT_FALSE(file.OpenForWriting(folder, "marked.txt"));
  TestSupport::AddAttributes(temp / "marked.txt", FILE_ATTRIBUTE_READONLY);
  ASSERT_FALSE(file.RemoveName(folder, "marked.txt"));
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(ReadLongFile(temp / "marked.txt"), kGone);
}

}  // namespace
