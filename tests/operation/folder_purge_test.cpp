#include "operation/folder_purge.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#else
#include <windows.h>
#undef Yield  // an old macro of windows.h, which would rename the host's method
#endif

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "operation/program_settings.h"
#include "operation/result_texts.h"
#include "support/file_inspection.h"
#include "support/native_path.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

const std::string kCaption = "Purge selected subfolders";
const std::string kQuestion = "Click 'OK' to continue, or 'Cancel' to terminate this operation.";

class RecordingHost final : public FolderPurgeHost {
 public:
  void Yield() override { if (onYield) onYield(); }
  void ShowProgress(const std::string& text) override { texts.push_back(text); }

  std::function<void()> onYield;
  std::vector<std::string> texts;
};

// One pass of type 0 unless a test chooses more.
class FolderPurgeTest : public ::testing::Test {
 protected:
  FolderPurgeTest() {
    settings.protectedFiles = FileOps::ProtectedFiles({}, {});
    settings.purgeType.SetPurgeType(0);
    settings.purgeType.SelectIndex(0, 0);
    environment.deleteRetry.sleep = [](int) {};
    purge.topFolder = folder.Path();
  }

  // The path under the temporary folder of a relative path written with "/".
  std::string At(const std::string& relative) const { return folder / NativePath(relative); }

  // Makes the folders on the way and writes the file under the temporary folder.
  std::string Make(const std::string& relative, const std::string& bytes = "secret") {
    MakeFolders(Utf8Path(FileSystemPath(At(relative)).parent_path()));
    return WriteFile(At(relative), bytes);
  }

  // The title and text of the n-th message, which offers OK and Cancel.
  std::string Shown(std::size_t n) {
    EXPECT_EQ(dialogs.shown.at(n).buttons, MessageButtons::OKCancel);
    return dialogs.shown[n].title + "|" + dialogs.shown[n].text;
  }

  TempFolder folder;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  RecordingHost host;
  DriveClusterSize clusterSizes;
  ScriptedRandom random;
  FilePurge::PurgeEnvironment environment{clusterSizes, random};
  FolderPurge purge{settings, dialogs, host, environment};
};

// Only whole selected folder names are entered: not "selx" nor "sel.old", nor "Sel" where names
// keep their case. The top folder's own files come first; from the third file on, the share done
// is shown.
TEST_F(FolderPurgeTest, TheCountingPassCountsAndThePurgingPassShowsEachPassAndEmptiesTheSelection) {
  for (const char* name : {"own.txt", "sel/a.txt", "sel/sub/b.txt", "sel/kept/program.dat", "selx/c.txt",
                           "sel.old/d.txt"})
    Make(name);
#ifndef _WIN32
  Make("Sel/e.txt");
#endif
  MakeFolders(At("sel/sub/empty"));
  purge.selectedPaths = {At("sel")};
  settings.protectedFiles = FileOps::ProtectedFiles({At("sel/kept")}, {});
  settings.purgeType.SelectIndex(0, 1);  // two passes

  ASSERT_TRUE(purge.PurgeSelectedFolders(kCaption));

  std::vector<std::string> expected{"Files to purge: 1", "Files to purge: 2", "Files to purge: 3"};
  const std::string prefixes[] = {"", "", "2 files purged (67% of 3). "};
  const char* const names[] = {"own.txt", "sel/a.txt", "sel/sub/b.txt"};
  for (std::size_t i = 0; i < 3; ++i)
    for (const char* pass : {"1", "2"})
      expected.push_back(prefixes[i] + "Now purging (pass" + pass + "):\r\n" + At(names[i]));
  expected.push_back("");  // nothing is being purged any more
  // A path longer than 65 characters is shown shortened, as a long temporary folder can make it;
  // then only the text before it is compared here (the shortening has tests of its own).
  for (std::size_t k = 0; k < expected.size() && k < host.texts.size(); ++k) {
    const std::size_t cut = expected[k].find("\r\n");
    if (cut == std::string::npos || expected[k].size() - cut - 2 <= 65) continue;
    EXPECT_LE(host.texts[k].size() - cut - 2, 65u) << host.texts[k];
    expected[k].resize(cut);
    host.texts[k].resize(cut);
  }
  EXPECT_EQ(host.texts, expected);
  EXPECT_FALSE(Exists(At("sel/sub"))) << "emptied folders are removed";
  EXPECT_EQ(ReadFile(At("sel/kept/program.dat")), "secret");
  for (const char* name : {"selx/c.txt", "sel.old/d.txt"}) EXPECT_EQ(ReadFile(At(name)), "secret");
#ifndef _WIN32
  EXPECT_EQ(ReadFile(At("Sel/e.txt")), "secret");
#endif
}

// POSIX only: Windows links need a privilege that Wine and most users lack, and their errors
// have other numbers.
#ifndef _WIN32
// A link is a file that is not purged, told once and not once per pass; a folder swapped for a
// link after the counting pass listed it is told and never entered.
TEST_F(FolderPurgeTest, LinksAreToldAndNeverFollowed) {
  Make("outside/inner.txt");
  Make("sel/sub/a.txt");
  purge.selectedPaths = {At("sel")};
  const std::string link = At("sel/folderlink");
  ASSERT_EQ(::symlink(At("outside").c_str(), link.c_str()), 0);
  settings.purgeType.SelectIndex(0, 2);  // three passes
  host.onYield = [&] {
    if (purge.FolderPurgeMode != 0 || Exists(At("moved"))) return;
    fs::rename(FileSystemPath(At("sel/sub")), FileSystemPath(At("moved")));
    fs::create_directory_symlink(FileSystemPath(At("outside")), FileSystemPath(At("sel/sub")));
  };
  for (int i = 0; i < 2; ++i) dialogs.Answer(MessageAnswer::OK);

  ASSERT_TRUE(purge.PurgeSelectedFolders(kCaption));

  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(Shown(0), kCaption + "|An error (-13) has been reported.\r\n(not a regular file, not "
                                 "purged.)\r\n" + link + "\r\n" + kQuestion);
  EXPECT_EQ(Shown(1), kCaption + "|" + At("sel/sub/") +
                          " (folder): replaced by a link or another entry, not entered.\r\n" + kQuestion);
  EXPECT_EQ(ReadFile(At("outside/inner.txt")), "secret");
}

#endif  // _WIN32

// A file that cannot be opened for writing (a running program here, one another program holds
// open without shared writes on Windows) is told with the system's reason and kept; the purge goes
// on with the next file.
TEST_F(FolderPurgeTest, AFileThatCannotBeOpenedForWritingIsToldAndKept) {
  Make("sel/a.txt");
  const std::string busy = At("sel/busy");
#ifdef _WIN32
  const std::string bytes = Make("sel/busy", "in use") == busy ? "in use" : "";
  const HANDLE held = ::CreateFileW(WideLongPath(busy).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  // The system's own words for it: "sharing violation" under Wine.
  const std::string reason = "(" + ReasonText({ERROR_SHARING_VIOLATION, std::system_category()}) + ")";
#else
  fs::copy_file("/bin/sleep", FileSystemPath(busy));
  const std::string bytes = ReadFile(busy);
  pid_t child = 0;
  char* const argv[] = {const_cast<char*>("sleep"), const_cast<char*>("60"), nullptr};
  ASSERT_EQ(::posix_spawn(&child, busy.c_str(), nullptr, nullptr, argv, environ), 0);
  const std::string reason = "(text file busy)";
#endif
  purge.selectedPaths = {At("sel")};
  dialogs.Answer(MessageAnswer::OK);
  const bool done = purge.PurgeSelectedFolders(kCaption);
#ifdef _WIN32
  ::CloseHandle(held);
#else
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
#endif
  EXPECT_TRUE(done);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(Shown(0), kCaption + "|An error (-2) has been reported.\r\n" + reason + "\r\n" + busy + "\r\n" +
                          kQuestion);
  EXPECT_EQ(ReadFile(busy), bytes);
  EXPECT_FALSE(Exists(At("sel/a.txt")));
}

// F10 pressed at the poll after the second file has been purged (the files of a folder come
// before its subfolders, so each folder holds one file for a fixed order), answered with OK or
// Cancel. The top folder's own file is left out.
class FolderPurgeInterruptionTest : public FolderPurgeTest,
                                    public ::testing::WithParamInterface<MessageAnswer> {};

TEST_P(FolderPurgeInterruptionTest, OKGoesOnToTheEndAndCancelLeavesTheRestUntouched) {
  for (const char* name : {"own", "a/1", "a/b/2", "a/b/c/3"}) Make(name);
  purge.selectedPaths = {At("a")};
  purge.includeTopFolderFiles = false;
  host.onYield = [&] {
    if (dialogs.shown.empty() && purge.FolderPurgeMode == 0 && !Exists(At("a/b/2"))) purge.blnStop = true;
  };
  const bool ok = GetParam() == MessageAnswer::OK;
  dialogs.Answer(GetParam());

  EXPECT_EQ(purge.PurgeSelectedFolders(kCaption), ok);

  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(Shown(0), kCaption + "|Now purging:\r\n" + At("a/b/2") + "\r\n\r\n" + kQuestion);
  EXPECT_EQ(purge.blnStop, !ok);
  EXPECT_EQ(host.texts.back(), "");
  EXPECT_EQ(ReadFile(At("own")), "secret");
  EXPECT_EQ(Exists(At("a")), !ok);
  const std::string last = At("a/b/c/3");
  EXPECT_EQ(Exists(last) ? ReadFile(last) : "", ok ? "" : "secret") << "after Cancel, not entered";
}

INSTANTIATE_TEST_SUITE_P(Answers, FolderPurgeInterruptionTest,
                         ::testing::Values(MessageAnswer::OK, MessageAnswer::Cancel));

TEST_F(FolderPurgeTest, AFileThatCannotBeDeletedAsksWhetherToGoOnOrToStop) {
  const char* const names[] = {"a/1", "a/b/2", "a/b/c/3"};  // one file per folder: a fixed order
  for (const char* name : names) Make(name, std::string(100, 'x'));
  purge.selectedPaths = {At("a")};
  const std::error_code denied = std::make_error_code(std::errc::permission_denied);
  environment.deleteRetry.remove = [denied](auto&, auto&, auto&) { return denied; };
  dialogs.Answer(MessageAnswer::OK);
  dialogs.Answer(MessageAnswer::Cancel);

  EXPECT_FALSE(purge.PurgeSelectedFolders(kCaption));

  ASSERT_EQ(dialogs.shown.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Shown(i), kCaption + "|File deletion error.  File (shown below) may be hidden.\r\n"
                                   "(permission denied)\r\n" + At(names[i]) + "\r\n" + kQuestion);
    EXPECT_NE(ReadFile(At(names[i])), std::string(100, 'x')) << "overwritten before the deletion";
  }
  EXPECT_EQ(ReadFile(At(names[2])), std::string(100, 'x')) << "after Cancel";
  EXPECT_TRUE(purge.blnStop);
}

}  // namespace
