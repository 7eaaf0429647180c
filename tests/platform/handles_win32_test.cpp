#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/win32/wide_text.h"
#include "support/file_inspection.h"
#include "support/reparse_points_win32.h"
#include "support/temp_folder.h"

#include <windows.h>
#undef GetFileAttributes

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using Platform::EntryStatus;
using Platform::FileHandle;
using Platform::FileIdentity;
using Platform::FileKind;
using Platform::FolderHandle;
using Platform::HandleStep;
using Platform::PlatformErrc;
using TestSupport::ReadLongFile;
using TestSupport::TempFolder;
using TestSupport::WideLongPath;

constexpr auto kMissing = std::errc::no_such_file_or_directory;
const std::string kGone = "<cannot be read>";

std::error_code Win32Error(DWORD code) {
  return {static_cast<int>(code), std::system_category()};
}

// Makes a file; the program's call takes names such as "NUL" in a folder as files' names.
void MakeFile(const std::string& path, const std::string& bytes) {
  ASSERT_FALSE(Platform::CreateNewFile(path, bytes)) << path;
}

void Rename(const std::string& from, const std::string& to) {
  ASSERT_TRUE(::MoveFileExW(WideLongPath(from).c_str(), WideLongPath(to).c_str(), 0))
      << from << " -> " << to << ": " << ::GetLastError();
}

std::vector<std::pair<std::string, bool>> Entries(const FolderHandle& folder) {
  std::vector<std::pair<std::string, bool>> entries;
  EXPECT_FALSE(folder.List([&](const Platform::FolderEntry& entry) {
    entries.emplace_back(entry.name, entry.isFolder);
    return true;
  }));
  std::sort(entries.begin(), entries.end());
  return entries;
}

// Sets the step hook for one test and takes it away at the end.
class StepHook {
 public:
  explicit StepHook(Platform::HandleStepHook hook) { Platform::SetHandleStepHook(std::move(hook)); }
  ~StepHook() { Platform::SetHandleStepHook(nullptr); }
  StepHook(const StepHook&) = delete;
  StepHook& operator=(const StepHook&) = delete;
};

// A plain name, names Windows takes for a device or trims when they come in a path, and a name
// outside the ANSI code page: each is the one file of that name in the folder.
TEST(FileHandleWin32, OneHandleServesEveryOverwriteAndRemovesTheFileOnClosing) {
  for (const std::string name : {"data.bin", "NUL", "trailing dot.",
                                 "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD \xE7\x8C\xAB"}) {
    SCOPED_TRACE(name);
    TempFolder temp;
    const std::string path = temp / name;
    MakeFile(path, "original");
    FolderHandle folder;
    ASSERT_FALSE(folder.Open(temp.Path()));

    std::vector<std::string> syncs;
    const StepHook hook([&](HandleStep step, const std::string& stepName) {
      if (step == HandleStep::AfterFileSync) syncs.push_back(ReadLongFile(path));
      if (step == HandleStep::BeforeOpenFile) {
        EXPECT_EQ(stepName, name);
      }
    });
    FileHandle file;
    ASSERT_FALSE(file.OpenForWriting(folder, name));
    for (const char fill : {'\x00', '\xFF', 'r'}) {
      ASSERT_FALSE(file.Seek(0));
      ASSERT_FALSE(file.WriteAll(std::string(8, fill).data(), 8));
      ASSERT_FALSE(file.Sync());
    }
    EXPECT_EQ(syncs, (std::vector<std::string>{std::string(8, '\0'), std::string(8, '\xFF'),
                                               "rrrrrrrr"}));
    ASSERT_FALSE(file.Truncate(3));
    EXPECT_EQ(ReadLongFile(path), "rrr");

    Platform::FileTimes times;
    times.hasCreation = true;
    times.creation = {981'173'106, 123'456'700};
    times.access = {1'000'000'000, 999'999'900};
    times.modification = {-31'536'000, 100};
    ASSERT_FALSE(file.SetTimes(times));
    EntryStatus status;
    ASSERT_FALSE(file.Status(status));
    EXPECT_EQ(status.kind, FileKind::Regular);
    EXPECT_EQ(status.length, 3);
    EXPECT_EQ(status.links, 1u);
    EXPECT_EQ(status.times.access, times.access);
    EXPECT_EQ(status.times.modification, times.modification);
    // Wine keeps no creation time apart from the others.
    if (!TestSupport::RunningUnderWine()) {
      EXPECT_EQ(status.times.creation, times.creation);
    }
    EXPECT_FALSE(status.pseudoFileSystem);
    EntryStatus named;
    ASSERT_FALSE(folder.Status(name, named));
    EXPECT_TRUE(named.identity.known);
    EXPECT_EQ(named.identity, status.identity);
    EXPECT_EQ(named.length, 3);

    ASSERT_FALSE(file.RemoveName(folder, name));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(ReadLongFile(path), kGone);
    EXPECT_EQ(folder.Status(name, named), kMissing);
  }
}

// The name is taken away from under the handle and given to another file or to a folder.
TEST(RemoveNameWin32, LeavesANameThatLeadsToAnotherEntryNow) {
  for (const bool folderInPlace : {false, true}) {
    SCOPED_TRACE(folderInPlace ? "a folder" : "another file");
    TempFolder temp;
    MakeFile(temp / "victim", "victim bytes");
    MakeFile(temp / "other", "other bytes");
    FolderHandle folder;
    ASSERT_FALSE(folder.Open(temp.Path()));
    FileHandle file;
    ASSERT_FALSE(file.OpenForWriting(folder, "victim"));
    const StepHook hook([&](HandleStep step, const std::string& name) {
      if (step != HandleStep::BeforeRemoveName) return;
      EXPECT_EQ(name, "victim");
      Rename(temp / "victim", temp / "moved");
      if (folderInPlace) {
        EXPECT_TRUE(::CreateDirectoryW(WideLongPath(temp / "victim").c_str(), nullptr));
      } else {
        Rename(temp / "other", temp / "victim");
      }
    });
    EXPECT_EQ(file.RemoveName(folder, "victim"), PlatformErrc::NameReplaced);
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(ReadLongFile(temp / "moved"), "victim bytes");
    EXPECT_EQ(ReadLongFile(temp / "victim"), folderInPlace ? kGone : "other bytes");
  }
}

TEST(FolderHandleWin32, EntersRealSubfoldersOnlyAndListsFromTheStartEveryTime) {
  TempFolder temp;
  ASSERT_TRUE(::CreateDirectoryW(WideLongPath(temp / "sub").c_str(), nullptr));
  MakeFile(temp / "sub\\inner.txt", "inner");
  MakeFile(temp / "file.txt", "file");
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path() + "\\\\"));
  EXPECT_EQ(folder.Path(), temp.Path());

  FolderHandle sub;
  ASSERT_FALSE(folder.OpenSubfolder("sub", sub));
  EXPECT_EQ(sub.Path(), temp / "sub\\");
  const std::vector<std::pair<std::string, bool>> inner{{"inner.txt", false}};
  EXPECT_EQ(Entries(sub), inner);
  EXPECT_EQ(Entries(sub), inner);
  EXPECT_EQ(Entries(folder),
            (std::vector<std::pair<std::string, bool>>{{"file.txt", false}, {"sub", true}}));

  EntryStatus status;
  ASSERT_FALSE(folder.Status("sub", status));
  EXPECT_EQ(status.kind, FileKind::Directory);
  EXPECT_EQ(folder.OpenSubfolder("file.txt", sub), PlatformErrc::NotAFolder);
  EXPECT_FALSE(sub.IsOpen());
  EXPECT_EQ(folder.OpenSubfolder("missing", sub), kMissing);
  for (const char* name : {"", ".", "..", "sub\\..", "sub/x", "file.txt:stream", "*", "su?"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(folder.OpenSubfolder(name, sub), std::errc::invalid_argument);
    EXPECT_EQ(folder.Status(name, status), std::errc::invalid_argument);
    FileHandle file;
    EXPECT_EQ(file.OpenForWriting(folder, name), std::errc::invalid_argument);
  }
  FileHandle file;
  EXPECT_EQ(file.OpenForWriting(folder, "sub"), PlatformErrc::NotARegularFile);
  EXPECT_EQ(ReadLongFile(temp / "sub\\inner.txt"), "inner");

  EXPECT_EQ(folder.Open(temp / "file.txt"), PlatformErrc::NotAFolder);
  EXPECT_EQ(folder.Open(temp / "file.txt\\"), PlatformErrc::NotAFolder);
  EXPECT_EQ(folder.Open("\\\\.\\C:"), PlatformErrc::NotAFolder);
  EXPECT_EQ(folder.Open(temp / "missing"), kMissing);
  EXPECT_FALSE(folder.IsOpen());
}

TEST(FolderHandleWin32, RemovesAnEmptySubfolderOnlyWhileItIsTheOneExpected) {
  TempFolder temp;
  for (const char* name : {"empty", "full", "other"})
    ASSERT_TRUE(::CreateDirectoryW(WideLongPath(temp / name).c_str(), nullptr));
  MakeFile(temp / "full\\kept.txt", "kept");
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FileIdentity empty;
  FileIdentity full;
  FileIdentity other;
  for (auto [name, identity] : {std::pair{"empty", &empty}, {"full", &full}, {"other", &other}}) {
    FolderHandle sub;
    ASSERT_FALSE(folder.OpenSubfolder(name, sub));
    ASSERT_FALSE(sub.Identity(*identity));
    EXPECT_TRUE(identity->known);
  }
  EXPECT_NE(empty, other);

  EXPECT_EQ(folder.RemoveSubfolder("empty", other), PlatformErrc::NameReplaced);
  EXPECT_EQ(folder.RemoveSubfolder("full", full), std::errc::directory_not_empty);
  EXPECT_EQ(ReadLongFile(temp / "full\\kept.txt"), "kept");
  EXPECT_EQ(folder.RemoveSubfolder("full\\kept.txt", full), std::errc::invalid_argument);
  ASSERT_FALSE(folder.RemoveSubfolder("empty", empty));
  EXPECT_FALSE(folder.Sync());
  EXPECT_EQ(Entries(folder),
            (std::vector<std::pair<std::string, bool>>{{"full", true}, {"other", true}}));
  EXPECT_EQ(folder.RemoveSubfolder("empty", empty), kMissing);
}

// A link in a subfolder's place, put there before the walk or just before the subfolder is
// opened, is never entered, written through, changed or removed in the folder's place.
TEST(FolderHandleWin32, NeverEntersOrChangesAReparsePointInASubfoldersPlace) {
  TempFolder temp;
  ASSERT_TRUE(::CreateDirectoryW(WideLongPath(temp / "target").c_str(), nullptr));
  MakeFile(temp / "target\\inner.txt", "inner bytes");
  ASSERT_TRUE(::CreateDirectoryW(WideLongPath(temp / "walked").c_str(), nullptr));
  TestSupport::FolderLinks links;
  const auto makeLink = [&](const std::string& link) { return links.Make(temp / "target", link); };
  if (!makeLink(temp / "link"))
    GTEST_SKIP() << "this system can make neither a junction nor a Unix link";

  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FolderHandle sub;
  EXPECT_EQ(folder.OpenSubfolder("link", sub), PlatformErrc::NotAFolder);
  EXPECT_EQ(FolderHandle().Open(temp / "link"), PlatformErrc::NotAFolder);
  EntryStatus status;
  ASSERT_FALSE(folder.Status("link", status));
  EXPECT_EQ(status.kind, FileKind::SymbolicLink);
  FileIdentity target;
  ASSERT_FALSE(Platform::IdentityOfPath(temp / "target", target));
  EXPECT_NE(status.identity, target);
  FileIdentity throughLink;
  ASSERT_FALSE(Platform::IdentityOfPath(temp / "link", throughLink));
  EXPECT_EQ(throughLink, target);
  EXPECT_EQ(folder.RemoveSubfolder("link", target), PlatformErrc::NameReplaced);
  EXPECT_EQ(folder.ClearReadOnly("link"), PlatformErrc::NotARegularFile);
  FileHandle file;
  EXPECT_EQ(file.OpenForWriting(folder, "link"), PlatformErrc::NotARegularFile);
  EXPECT_EQ(Entries(folder), (std::vector<std::pair<std::string, bool>>{
                                 {"link", false}, {"target", true}, {"walked", true}}));

  // Swapped for a link between the listing and the opening.
  const StepHook hook([&](HandleStep step, const std::string& name) {
    if (step != HandleStep::BeforeOpenSubfolder || name != "walked") return;
    Rename(temp / "walked", temp / "away");
    EXPECT_TRUE(makeLink(temp / "walked"));
  });
  EXPECT_EQ(folder.OpenSubfolder("walked", sub), PlatformErrc::NotAFolder);
  EXPECT_FALSE(sub.IsOpen());
  EXPECT_EQ(ReadLongFile(temp / "target\\inner.txt"), "inner bytes");
}

TEST(FolderHandleWin32, AFolderWhereAVolumeIsMountedIsAnotherFileSystem) {
  TempFolder temp;
  wchar_t volume[MAX_PATH] = {};
  ASSERT_TRUE(::GetVolumeNameForVolumeMountPointW(L"C:\\", volume, MAX_PATH));
  // "\\?\Volume{...}\" as a native name.
  const std::wstring substitute = L"\\??\\" + std::wstring(volume).substr(4);
  if (!TestSupport::MakeMountPoint(substitute, temp / "mounted"))
    GTEST_SKIP() << "this system cannot make a mount point (Wine 8 cannot make reparse points)";
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FolderHandle sub;
  EXPECT_EQ(folder.OpenSubfolder("mounted", sub), PlatformErrc::OtherFileSystem);
  EXPECT_FALSE(sub.IsOpen());
}

TEST(IdentityWin32, IsOneForEveryNameOfAFileAndCountsItsNames) {
  TempFolder temp;
  MakeFile(temp / "first", "shared");
  MakeFile(temp / "unrelated", "shared");
  ASSERT_TRUE(::CreateHardLinkW(WideLongPath(temp / "second").c_str(),
                                WideLongPath(temp / "first").c_str(), nullptr));
  FileIdentity first;
  FileIdentity second;
  FileIdentity unrelated;
  ASSERT_FALSE(Platform::IdentityOfPath(temp / "first", first));
  ASSERT_FALSE(Platform::IdentityOfPath(temp / "second", second));
  ASSERT_FALSE(Platform::IdentityOfPath(temp / "unrelated", unrelated));
  EXPECT_TRUE(first.known);
  EXPECT_EQ(first, second);
  EXPECT_NE(first, unrelated);
  EXPECT_EQ(first.volume, unrelated.volume);

  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  EntryStatus status;
  ASSERT_FALSE(folder.Status("second", status));
  EXPECT_EQ(status.identity, first);
  EXPECT_EQ(status.links, 2u);
  FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(folder, "first"));
  ASSERT_FALSE(file.Status(status));
  EXPECT_EQ(status.identity, first);
  EXPECT_EQ(status.links, 2u);

  // The other name of the same file is this file too: that name goes, the one opened stays.
  ASSERT_FALSE(file.RemoveName(folder, "second"));
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(Entries(folder),
            (std::vector<std::pair<std::string, bool>>{{"first", false}, {"unrelated", false}}));
  EXPECT_EQ(ReadLongFile(temp / "first"), "shared");

  FileIdentity folderIdentity;
  FileIdentity byPath;
  ASSERT_FALSE(folder.Identity(folderIdentity));
  ASSERT_FALSE(Platform::IdentityOfPath(temp.Path(), byPath));
  EXPECT_EQ(folderIdentity, byPath);
  EXPECT_EQ(Platform::IdentityOfPath(temp / "missing", byPath), kMissing);
  EXPECT_FALSE(byPath.known);
}

TEST(AttributesThroughHandlesWin32, ReadOnlyIsReadAndClearedAndNeverBlocksARemoval) {
  TempFolder temp;
  MakeFile(temp / "marked.txt", "keep");
  TestSupport::AddAttributes(temp / "marked.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  EntryStatus status;
  ASSERT_FALSE(folder.Status("marked.txt", status));
  EXPECT_EQ(status.kind, FileKind::Regular);
  EXPECT_EQ(status.length, 4);
  EXPECT_TRUE(status.readOnly);
  EXPECT_TRUE(status.hidden);
  EXPECT_FALSE(status.system);

  FileHandle file;
  EXPECT_EQ(file.OpenForWriting(folder, "marked.txt"), Win32Error(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(file.IsOpen());
  ASSERT_FALSE(folder.ClearReadOnly("marked.txt"));
  EXPECT_EQ(TestSupport::AttributesOnDisk(temp / "marked.txt") &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            DWORD{FILE_ATTRIBUTE_HIDDEN});
  ASSERT_FALSE(folder.Status("marked.txt", status));
  EXPECT_FALSE(status.readOnly);
  EXPECT_EQ(folder.ClearReadOnly("missing"), kMissing);

  // Made read-only again while open: the removal clears it through the handle.
  ASSERT_FALSE(file.OpenForWriting(folder, "marked.txt"));
  TestSupport::AddAttributes(temp / "marked.txt", FILE_ATTRIBUTE_READONLY);
  ASSERT_FALSE(file.RemoveName(folder, "marked.txt"));
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(ReadLongFile(temp / "marked.txt"), kGone);
}

}  // namespace
