#include "operation/folder_purge.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "operation/program_settings.h"
#include "platform/folders.h"
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
  void Yield() override {
    if (onYield) onYield();
  }
  void ShowProgress(const std::string& text) override { texts.push_back(text); }

  std::function<void()> onYield;
  std::vector<std::string> texts;
};

class FolderPurgeTest : public ::testing::Test {
 protected:
  FolderPurgeTest()
      : clusterSizes([](const std::string&, double& freeBytes) -> std::int64_t {
          freeBytes = 1e9;
          return 4096;
        }),
        environment(clusterSizes, random),
        purge(settings, dialogs, host, environment) {
    settings.protectedFiles = FileOps::ProtectedFiles({}, {});
    UsePasses(1);
    environment.deleteRetry.sleep = [](int) {};
    purge.topFolder = folder.Path();
  }

  void UsePasses(short passes) {
    settings.purgeType.SetPurgeType(0);
    settings.purgeType.SelectIndex(0, passes - 1);
  }

  // The path under the temporary folder of a relative path written with "/".
  std::string At(const std::string& relative) const { return folder / NativePath(relative); }

  // Makes the folders on the way and writes the file under the temporary folder.
  std::string Make(const std::string& relative, const std::string& bytes = "secret") {
    const std::string path = At(relative);
    MakeFolders(Utf8Path(FileSystemPath(path).parent_path()));
    return WriteFile(path, bytes);
  }

  void Select(const std::string& relative) {
    MakeFolders(At(relative));
    purge.selectedPaths.push_back(At(relative));
  }

  // The files of a folder in the order the walk meets them.
  static std::vector<std::string> FilesInOrder(const std::string& dir) {
    std::vector<std::string> paths;
    Platform::ListFolder(dir, [&](const Platform::FolderEntry& entry) {
      if (!entry.isFolder) paths.push_back(dir + entry.name);
      return true;
    });
    return paths;
  }

  TempFolder folder;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  RecordingHost host;
  DriveClusterSize clusterSizes;
  ScriptedRandom random;
  FilePurge::PurgeEnvironment environment;
  FolderPurge purge;
};

// Only whole selected folder names are entered: not "selx" nor "sel.old", nor "Sel" where names
// keep their case.
TEST_F(FolderPurgeTest, TheCountingPassTouchesNothingAndThePurgingPassEmptiesTheSelection) {
  for (const char* name : {"own.txt", "sel/a.txt", "sel/sub/b.txt", "sel/kept/program.dat",
                           "selx/c.txt", "sel.old/d.txt"})
    Make(name);
#ifndef _WIN32
  Make("Sel/e.txt");
#endif
  MakeFolders(At("sel/sub/empty"));
  purge.selectedPaths = {At("sel")};
  purge.includeTopFolderFiles = false;
  settings.protectedFiles = FileOps::ProtectedFiles({At("sel/kept")}, {});

  purge.FolderPurgeMode = 1;
  purge.KXesPurgeRecursive2(folder.Path(), 1, kCaption);

  EXPECT_EQ(purge.FolderPurgeTotal, 2) << "a.txt and b.txt; the protected file is skipped";
  EXPECT_EQ(host.texts, (std::vector<std::string>{"Files to purge: 1", "Files to purge: 2"}));
  for (const char* name : {"sel/a.txt", "sel/sub/b.txt"}) EXPECT_EQ(ReadFile(At(name)), "secret");

  purge.FolderPurgeMode = 0;
  purge.KXesPurgeRecursive2(folder.Path(), 1, kCaption);

  EXPECT_EQ(purge.FolderPurgeDone, 2);
  EXPECT_FALSE(Exists(At("sel/a.txt")));
  EXPECT_FALSE(Exists(At("sel/sub"))) << "emptied folders are removed";
  EXPECT_EQ(ReadFile(At("sel/kept/program.dat")), "secret");
  EXPECT_EQ(ReadFile(At("own.txt")), "secret") << "the top folder's own files were left out";
  for (const char* name : {"selx/c.txt", "sel.old/d.txt"}) EXPECT_EQ(ReadFile(At(name)), "secret");
#ifndef _WIN32
  EXPECT_EQ(ReadFile(At("Sel/e.txt")), "secret");
#endif
  EXPECT_TRUE(dialogs.shown.empty());
}

// The top folder's own files come first, then those of the selected folders.
TEST_F(FolderPurgeTest, ThePurgingPassShowsEachPassAndTheShareDoneFromTheSecondFile) {
  UsePasses(2);
  const std::string own = Make("own.txt");
  for (const char* name : {"sel/a.txt", "sel/b.txt", "sel/c.txt"}) Make(name);
  Select("sel");
  std::vector<std::string> order = FilesInOrder(At("sel/"));
  order.insert(order.begin(), own);

  ASSERT_TRUE(purge.PurgeSelectedFolders(kCaption));

  std::vector<std::string> expected{"Files to purge: 1", "Files to purge: 2", "Files to purge: 3",
                                    "Files to purge: 4"};
  const std::vector<std::string> prefixes{"", "", "2 files purged (50% of 4). ",
                                          "3 files purged (75% of 4). "};
  for (std::size_t i = 0; i < 4; ++i)
    for (const char* pass : {"1", "2"})
      expected.push_back(prefixes[i] + "Now purging (pass" + pass + "):\r\n" + order[i]);
  expected.push_back("");  // nothing is being purged any more
  EXPECT_EQ(host.texts, expected);
  EXPECT_EQ(purge.FolderPurgeDone, 4);
  EXPECT_FALSE(Exists(own));
  EXPECT_FALSE(Exists(At("sel"))) << "the emptied folder is removed";
  EXPECT_TRUE(fs::is_directory(FileSystemPath(folder.Path()))) << "but never the top folder";
}

// POSIX only: Windows links need a privilege that Wine and most users lack, and their errors
// have other numbers.
#ifndef _WIN32
TEST_F(FolderPurgeTest, ALinkIsReportedAsAnErrorAndNeitherItNorItsTargetIsTouched) {
  const std::string outside = Make("outside/target.txt");
  Make("outside/inner.txt");
  Select("sel");
  const std::string link = At("sel/link");
  ASSERT_EQ(::symlink(outside.c_str(), link.c_str()), 0);
  ASSERT_EQ(::symlink(At("outside").c_str(), At("sel/folderlink").c_str()), 0);
  UsePasses(3);
  dialogs.Answer(MessageAnswer::OK);
  dialogs.Answer(MessageAnswer::OK);

  ASSERT_TRUE(purge.PurgeSelectedFolders(kCaption));

  ASSERT_EQ(dialogs.shown.size(), 2u) << "one message per link, not one per pass";
  std::vector<std::string> texts{dialogs.shown[0].text, dialogs.shown[1].text};
  std::sort(texts.begin(), texts.end());
  const std::string notAFile =
      "An error (-13) has been reported.\r\n(not a regular file, not purged.)\r\n";
  EXPECT_EQ(texts[0], notAFile + At("sel/folderlink") + "\r\n" + kQuestion);
  EXPECT_EQ(texts[1], notAFile + link + "\r\n" + kQuestion);
  EXPECT_EQ(ReadFile(outside), "secret");
  EXPECT_EQ(ReadFile(At("outside/inner.txt")), "secret");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_directory(FileSystemPath(At("sel")))) << "the folder is not empty";
}

TEST_F(FolderPurgeTest, AFolderSwappedForALinkBeforeItIsEnteredIsToldAndNeverEntered) {
  const std::string outside = Make("outside/target.txt");
  Make("sel/sub/a.txt");
  Select("sel");
  bool swapped = false;
  host.onYield = [&] {
    // The counting pass has listed "sub"; the purging pass finds a link in its place.
    if (purge.FolderPurgeMode == 0 && !swapped) {
      swapped = true;
      fs::rename(FileSystemPath(At("sel/sub")), FileSystemPath(At("moved")));
      fs::create_directory_symlink(FileSystemPath(At("outside")), FileSystemPath(At("sel/sub")));
    }
  };
  dialogs.Answer(MessageAnswer::OK);
  Make("sel/first.txt");

  ASSERT_TRUE(purge.PurgeSelectedFolders(kCaption));

  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, At("sel/sub/") +
                                       " (folder): replaced by a link or another entry, not "
                                       "entered.\r\n" +
                                       kQuestion);
  EXPECT_EQ(ReadFile(outside), "secret");
  EXPECT_EQ(ReadFile(At("moved/a.txt")), "secret");
}
#endif  // _WIN32

// F10 pressed at the poll after the second file has been purged (the files of a folder come
// before its subfolders), answered with OK or Cancel.
class FolderPurgeInterruptionTest : public FolderPurgeTest,
                                    public ::testing::WithParamInterface<MessageAnswer> {};

TEST_P(FolderPurgeInterruptionTest, OKGoesOnToTheEndAndCancelLeavesTheRestUntouched) {
  const std::vector<std::string> names{"a/1", "a/2", "a/3", "a/b/4"};
  for (const std::string& name : names) Make(name);
  Select("a");
  purge.includeTopFolderFiles = false;
  const auto gone = [&] {
    return std::count_if(names.begin(), names.end(), [&](auto& name) { return !Exists(At(name)); });
  };
  host.onYield = [&] {
    if (dialogs.shown.empty() && purge.FolderPurgeMode == 0 && gone() == 2) purge.blnStop = true;
  };
  const bool ok = GetParam() == MessageAnswer::OK;
  dialogs.Answer(GetParam());
  const std::vector<std::string> order = FilesInOrder(At("a/"));

  EXPECT_EQ(purge.PurgeSelectedFolders(kCaption), ok);

  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, kCaption);
  EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::OKCancel);
  EXPECT_EQ(dialogs.shown[0].text, "Now purging:\r\n" + order[1] + "\r\n\r\n" + kQuestion);
  EXPECT_EQ(purge.blnStop, !ok);
  EXPECT_EQ(host.texts.back(), "");
  EXPECT_EQ(Exists(At("a")), !ok);
  if (!ok) {
    EXPECT_EQ(gone(), 2);
    EXPECT_EQ(ReadFile(order[2]), "secret");
    EXPECT_EQ(ReadFile(At("a/b/4")), "secret") << "the subfolder is not entered";
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, FolderPurgeInterruptionTest,
                         ::testing::Values(MessageAnswer::OK, MessageAnswer::Cancel));

TEST_F(FolderPurgeTest, AFileThatCannotBeDeletedAsksWhetherToGoOnOrToStop) {
  for (const char* name : {"a/1", "a/2", "a/3"}) Make(name, std::string(100, 'x'));
  Select("a");
  environment.deleteRetry.remove = [](Platform::FileHandle&, const Platform::FolderHandle&,
                                      const std::string&) {
    return std::make_error_code(std::errc::permission_denied);
  };
  const std::vector<std::string> order = FilesInOrder(At("a/"));
  dialogs.Answer(MessageAnswer::OK);
  dialogs.Answer(MessageAnswer::Cancel);

  EXPECT_FALSE(purge.PurgeSelectedFolders(kCaption));

  ASSERT_EQ(dialogs.shown.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(dialogs.shown[i].title, kCaption);
    EXPECT_EQ(dialogs.shown[i].buttons, MessageButtons::OKCancel);
    EXPECT_EQ(dialogs.shown[i].text,
              "File deletion error.  File (shown below) may be hidden.\r\n(permission denied)\r\n" +
                  order[i] + "\r\n" + kQuestion);
    EXPECT_NE(ReadFile(order[i]), std::string(100, 'x')) << "overwritten before the deletion";
  }
  EXPECT_EQ(ReadFile(order[2]), std::string(100, 'x')) << "after Cancel";
  EXPECT_TRUE(purge.blnStop);
  EXPECT_EQ(host.texts.back(), "");
  EXPECT_TRUE(fs::is_directory(FileSystemPath(At("a"))));
}

}  // namespace
