#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/folders.h"
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

using namespace Platform;
using namespace TestSupport;

constexpr auto kMissing = std::errc::no_such_file_or_directory;
const std::error_code kAccessDenied(ERROR_ACCESS_DENIED, std::system_category());

static void Rename(const std::string& from, const std::string& to) {
  ASSERT_TRUE(::MoveFileExW(WideLongPath(from).c_str(), WideLongPath(to).c_str(), 0)) << from;
}

// Names Windows takes for a device or trims in a path, and one outside the ANSI code page, are
// each the one file of that name in the folder. Read-only refuses the opening with the system's
// reason; set again while the file is open, the removal clears it. The file's second name is the
// same file, and removing it leaves the name the file was opened by. (Lengths and times through a
// handle: file_purge_test.cpp.)
TEST(FileHandleWin32, OpensTheNamedFileAndRemovesEachOfItsNames) {
  for (const std::string name : {"NUL", "trailing dot.", "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD"}) {
    SCOPED_TRACE(name);
    TempFolder temp;
    ASSERT_FALSE(CreateNewFile(temp / name, "old"));
    ASSERT_TRUE(::CreateHardLinkW(WideLongPath(temp / "second").c_str(),
                                  WideLongPath(temp / name).c_str(), nullptr));
    AddAttributes(temp / name, FILE_ATTRIBUTE_READONLY);
    FolderHandle folder;
    ASSERT_FALSE(folder.Open(temp.Path()));
    FileHandle file;
    EXPECT_EQ(file.OpenForWriting(folder, name), kAccessDenied);
    ASSERT_FALSE(folder.ClearReadOnly(name));
    ASSERT_FALSE(file.OpenForWriting(folder, name));
    ASSERT_FALSE(file.WriteAll("written", 7));
    EntryStatus status, named;
    ASSERT_FALSE(file.Status(status));
    ASSERT_FALSE(folder.Status("second", named));
    EXPECT_EQ(named.identity, status.identity);
    EXPECT_EQ(named.links, 2u);

    AddAttributes(temp / name, FILE_ATTRIBUTE_READONLY);
    ASSERT_FALSE(file.RemoveName(folder, "second"));
    EXPECT_EQ(ReadLongFile(temp / name), "written");
    ASSERT_FALSE(file.RemoveName(folder, name));
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(ReadLongFile(temp / name) + ReadLongFile(temp / "second"), "<cannot be read><cannot be read>");
    FileIdentity byPath;
    EXPECT_EQ(IdentityOfPath(temp / name, byPath), kMissing);
  }
}

// The name is taken away from under the handle and given to another file.
TEST(RemoveNameWin32, LeavesANameThatLeadsToAnotherEntryNow) {
  TempFolder temp;
  ASSERT_FALSE(CreateNewFile(temp / "victim", "victim bytes"));
  ASSERT_FALSE(CreateNewFile(temp / "other", "other bytes"));
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(folder, "victim"));
  const StepTrap trap(HandleStep::BeforeRemoveName, 1, [&](const std::string&) {
    Rename(temp / "victim", temp / "moved");
    Rename(temp / "other", temp / "victim");
  });
  EXPECT_EQ(file.RemoveName(folder, "victim"), PlatformErrc::NameReplaced);
  file.Close();
  EXPECT_EQ(ReadLongFile(temp / "moved") + "|" + ReadLongFile(temp / "victim"), "victim bytes|other bytes");
}

// Only an empty subfolder that is still the one expected is removed.
TEST(FolderHandleWin32, RefusesWhatIsNoPlainNameOrNoFolderAndRemovesOnlyTheSubfolderExpected) {
  TempFolder temp;
  MakeFolder(temp / "sub");
  MakeFolder(temp / "empty");
  ASSERT_FALSE(CreateNewFile(temp / "sub\\inner.txt", "inner"));
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path() + "\\\\"));
  EXPECT_EQ(folder.Path(), temp.Path());
  FolderHandle sub, inner;
  EntryStatus status;
  FileHandle file;
  for (const char* name : {"", ".", "..", "sub\\..", "sub/x", "sub:stream", "*", "su?"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(folder.OpenSubfolder(name, sub), std::errc::invalid_argument);
    EXPECT_EQ(folder.Status(name, status), std::errc::invalid_argument);
    EXPECT_EQ(file.OpenForWriting(folder, name), std::errc::invalid_argument);
  }
  ASSERT_FALSE(folder.OpenSubfolder("sub", sub));
  EXPECT_EQ(sub.Path(), temp / "sub\\");
  EXPECT_EQ(sub.OpenSubfolder("inner.txt", inner), PlatformErrc::NotAFolder);
  EXPECT_EQ(folder.Open(temp / "sub\\inner.txt\\"), PlatformErrc::NotAFolder);
  EXPECT_EQ(folder.Open("\\\\.\\C:"), PlatformErrc::NotAFolder);
  EXPECT_EQ(folder.Open(temp / "missing"), kMissing);

  ASSERT_FALSE(folder.Open(temp.Path()));
  FileIdentity identities[2];
  ASSERT_FALSE(sub.Identity(identities[0]));
  ASSERT_FALSE(IdentityOfPath(temp / "empty", identities[1]));
  sub.Close();
  EXPECT_EQ(folder.RemoveSubfolder("empty", identities[0]), PlatformErrc::NameReplaced);
  EXPECT_EQ(folder.RemoveSubfolder("sub", identities[0]), std::errc::directory_not_empty);
  ASSERT_FALSE(folder.RemoveSubfolder("empty", identities[1]));
  EXPECT_EQ(folder.RemoveSubfolder("empty", identities[1]), kMissing);
}

// A link in a subfolder's place, put there before the walk or just before the subfolder is
// opened, is never entered or removed in the folder's place; nor do the path functions enter,
// write or follow it.
TEST(FolderHandleWin32, NeverEntersOrChangesAReparsePointInASubfoldersPlace) {
  TempFolder temp;
  MakeFolder(temp / "target");
  MakeFolder(temp / "walked");
  FolderLinks links;
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
  ASSERT_FALSE(IdentityOfPath(temp / "target", target));
  EXPECT_EQ(folder.RemoveSubfolder("link", target), PlatformErrc::NameReplaced);
  EXPECT_EQ(folder.ClearReadOnly("link"), PlatformErrc::NotARegularFile);

  // A junction is no folder; Wine shows its stand-in, a Unix link, as no regular file.
  const auto refused = [](std::error_code error) {
    return error == std::errc::not_a_directory || error == PlatformErrc::NotARegularFile;
  };
  EXPECT_FALSE(FolderExists(temp / "link\\"));
  EXPECT_TRUE(refused(ListFolder(temp / "link", [](const auto&) { return true; })));
  EXPECT_TRUE(refused(RemoveFolder(temp / "link")));
  EXPECT_EQ(ClearHidden(temp / "link"), PlatformErrc::NotARegularFile);
  EXPECT_EQ(ReplaceFileAtomically(temp / "link", "x"), PlatformErrc::NotARegularFile);

  const StepTrap trap(HandleStep::BeforeOpenSubfolder, 1, [&](const std::string&) {
    Rename(temp / "walked", temp / "away");
    EXPECT_TRUE(links.Make(temp / "target", temp / "walked"));
  });
  EXPECT_EQ(folder.OpenSubfolder("walked", sub), PlatformErrc::NotAFolder);
}
