#include "operation/purge_confirmation.h"

#include <gtest/gtest.h>

#include <iterator>

#include "operation/purge_confirmation_state.h"
#include "support/native_path.h"
#include "support/scripted_random.h"

using Box = PurgeConfirmationState::Box;
using TestSupport::NativePath;

namespace {

PurgeConfirmationTexts TextsFor(const std::string& folder, const std::string& filespec,
                                bool subfolders, bool dateRestriction, std::int32_t count,
                                std::int32_t withOtherNames = 0) {
  TestSupport::ScriptedRandom random;
  return BuildPurgeConfirmationText({folder, filespec, subfolders}, dateRestriction, count,
                                    withOtherNames, random);
}

}  // namespace

TEST(PurgeConfirmationText, AllFilesAreTheSingleFileBothFilesOrAllOfThem) {
  const auto texts = TextsFor(NativePath("/home/ann/old/"), "*.*", false, true, 2);
  EXPECT_EQ(texts.element[0],
            "Are you sure that you want to purge the slack area of both files in \r\n" +
                NativePath("/home/ann/old/") + " ?");
  EXPECT_EQ(texts.element[1], "Are you sure that you want to purge both files in \r\n" +
                                  NativePath("/home/ann/old/") +
                                  " ?\r\n"
                                  "which satisfy the date restriction.\r\n"
                                  "This will permanently destroy all data in these two files.");
  EXPECT_EQ(TextsFor(NativePath("/d/"), "*.*", true, false, 1).element[1],
            "Are you sure that you want to purge the single file in \r\n" + NativePath("/d/") +
                "\r\n"
                "and all files in all subfolders?\r\nThis will permanently destroy all data in "
                "this file.");
  EXPECT_EQ(TextsFor(NativePath("/data/"), "*.*", false, false, kMoreThan1000Files).element[1],
            "Are you sure that you want to purge all (more than 1000) files in \r\n" +
                NativePath("/data/") +
                " ?\r\n"
                "This will permanently destroy all data in these (more than 1000) files.");
}

TEST(PurgeConfirmationText, MoreThan1000FilesOfAPatternStillNameTheDateRestriction) {
  EXPECT_EQ(TextsFor(NativePath("/data/"), "*.txt", false, true, kMoreThan1000Files).element[1],
            "Are you sure that you want to purge the (more than 1000) files\r\n" +
                NativePath("/data/*.txt") +
                " ?\r\n"
                "which satisfy the date restriction.\r\n"
                "This will permanently destroy all data in these (more than 1000) files.");
}

TEST(PurgeConfirmationText, ASingleFileIsNamedWithItsPathAndNoDateLineAsIsAPatternWithOneMatch) {
  const std::string expected = "Are you sure that you want to purge the file\r\n" +
                               NativePath("/home/ann/letter.txt") +
                               " ?\r\n"
                               "This will permanently destroy all data in this file.";
  EXPECT_EQ(TextsFor(NativePath("/home/ann/"), "letter.txt", false, true, 1).element[1], expected);
  // The folder and the name are joined with exactly one separator.
  EXPECT_EQ(TextsFor(NativePath("/home/ann"), "letter.txt", false, true, 0).element[1], expected);
  EXPECT_EQ(TextsFor(NativePath("/home/ann//"), "letter.txt", false, true, 0).element[1], expected);
  EXPECT_EQ(TextsFor(NativePath("/d/"), "a?.txt", false, true, 1).element[1],
            "Are you sure that you want to purge the files\r\n" + NativePath("/d/a?.txt") +
                " ?\r\n"
                "This will permanently destroy all data in this file.");
}

TEST(PurgeConfirmationText, APatternWithSubfoldersAndADateRestrictionCountsInWords) {
  const auto texts = TextsFor(NativePath("/srv/logs/"), "*.log", true, true, 45);
  EXPECT_EQ(texts.element[0],
            "Are you sure that you want to purge the slack area of the 45 files\r\n" +
                NativePath("/srv/logs/*.log") +
                "\r\nand all files of the form \"*.log\" in all subfolders?");
  EXPECT_EQ(texts.element[1],
            "Are you sure that you want to purge the 45 files\r\n" + NativePath("/srv/logs/*.log") +
                "\r\n"
                "and all files of the form \"*.log\" in all subfolders?\r\n"
                "which satisfy the date restriction.\r\n"
                "This will permanently destroy all data in these forty five files.");
}

TEST(PurgeConfirmationText, FilesWithOtherNamesAreToldInAParagraphOfTheirOwn) {
  const std::string question = "Are you sure that you want to purge the 45 files\r\n" +
                               NativePath("/srv/logs/*.log") + " ?\r\n";
  const std::string destroyed = "This will permanently destroy all data in these forty five files.";
  const std::string single = "Are you sure that you want to purge the file\r\n" +
                             NativePath("/srv/logs/a.log") +
                             " ?\r\nThis will permanently destroy all data in this file.";
  const struct {
    std::string filespec;
    std::int32_t count, withOtherNames;
    std::string message;
  } cases[] = {
      {"*.log", 45, 0, question + destroyed},
      {"*.log", 45, 1,
       question + destroyed +
           "\r\n\r\n1 of these files has other names (hard links) that may lie outside what you "
           "chose; it is not purged unless \"Purge files that have other names (hard links)\" is "
           "ticked."},
      {"*.log", 45, 3,
       question + destroyed +
           "\r\n\r\n3 of these files have other names (hard links) that may lie outside what "
           "you chose; they are not purged unless \"Purge files that have other names (hard "
           "links)\" is ticked."},
      {"a.log", 1, 1,
       single +
           "\r\n\r\nThis file has other names (hard links) that may lie outside what you chose; "
           "it is not purged unless \"Purge files that have other names (hard links)\" is "
           "ticked."},
  };
  for (const auto& c : cases) {
    const auto texts =
        TextsFor(NativePath("/srv/logs/"), c.filespec, false, false, c.count, c.withOtherNames);
    EXPECT_EQ(texts.element[1], c.message) << c.withOtherNames;
    EXPECT_EQ(texts.element[0].find("hard links"), std::string::npos) << c.withOtherNames;
  }
}

TEST(PurgeConfirmationText, ALongPathIsShortenedOnceForBothMessages) {
  const std::string middle(60, 'n');
  TestSupport::ScriptedRandom random;
  random.script = {TestSupport::UnitFor(2, 1, 3)};  // elide the third of five names
  const auto texts = BuildPurgeConfirmationText(
      {NativePath("/home/" + std::string(60, 'm') + "/" + middle + "/"), "report.txt", false},
      false, 1, 0, random);
  const std::string shortened = NativePath("/home/.../" + middle + "/report.txt");
  EXPECT_EQ(texts.element[0], "Are you sure that you want to purge the slack area of the file\r\n" +
                                  shortened + " ?");
  EXPECT_EQ(texts.element[1], "Are you sure that you want to purge the file\r\n" + shortened +
                                  " ?\r\nThis will permanently destroy all data in this file.");
}

class PurgeConfirmationDialog : public ::testing::Test {
 protected:
  void Open(bool subfolders, std::int32_t clusterSize = 4096) {
    state.Show(options, texts, subfolders, 5, clusterSize);
  }
  void Purge() { state.DoPurge(options, confirmFiles, clusterSizes, "/"); }

  PurgeConfirmationTexts texts{{"slack message", "normal message"}};
  PurgeConfirmationState state;
  PurgeOptions options;
  bool confirmFiles = false;
  int queries = 0;
  DriveClusterSize clusterSizes{[this](const std::string&, double& freeBytes) {
    ++queries;
    freeBytes = 0;
    return std::int64_t{3072};
  }};
};

TEST_F(PurgeConfirmationDialog, OpeningShowsTheNormalMessageAndLeavesThePurgeUnconfirmed) {
  options.blnConfirm = true;
  Open(true);
  EXPECT_FALSE(options.blnConfirm);
  EXPECT_EQ(state.Message(), "normal message");
  EXPECT_EQ(state.DoPurgeText(), "Yes, purge these files");
  EXPECT_EQ(DoPurgeCaption(1, false), "Yes, purge this file");
  EXPECT_EQ(DoPurgeCaption(2, false), "Yes, purge these files");
  EXPECT_TRUE(state.TakeCancelFocus());
  EXPECT_FALSE(state.TakeCancelFocus());
  state.SetTicked(Box::chkFolderNamesOnly, false);
  EXPECT_TRUE(state.TakeCancelFocus());
}

TEST_F(PurgeConfirmationDialog, SlackOnlyForcesKeepingTheFilesAndUntickingGivesTheBoxBack) {
  for (const bool before : {false, true}) {
    Open(true);
    state.SetTicked(Box::chkDoNotDeletePurgedFiles, before);
    state.SetSlackOnly(true);
    const OptionBox forced = state.Get(Box::chkDoNotDeletePurgedFiles);
    EXPECT_TRUE(forced.ticked && !forced.enabled);
    EXPECT_FALSE(state.Get(Box::chkDeleteEmptyFolders).visible);
    EXPECT_EQ(state.Message(), "slack message");
    state.SetSlackOnly(false);
    const OptionBox back = state.Get(Box::chkDoNotDeletePurgedFiles);
    EXPECT_TRUE(back.ticked == before && back.enabled);
    EXPECT_TRUE(state.Get(Box::chkDeleteEmptyFolders).visible);
    EXPECT_EQ(state.Message(), "normal message");
    state.Cancel(options);
  }
}

TEST_F(PurgeConfirmationDialog, APurgeWithSlackOnlyKeepsTheFilesOnceAndTheNextOpeningIsAsBefore) {
  Open(true);
  state.SetSlackOnly(true);
  Purge();
  EXPECT_TRUE(options.blnConfirm);
  EXPECT_FALSE(options.blnPurgeSlackOnly);
  EXPECT_TRUE(options.blnDoNotDeletePurgedFiles);
  EXPECT_FALSE(options.blnDeleteEmptyFolders);
  Open(true);
  const OptionBox box = state.Get(Box::chkDoNotDeletePurgedFiles);
  EXPECT_TRUE(!box.ticked && box.enabled && !state.Get(Box::chkPurgeSlackOnly).ticked);
}

TEST_F(PurgeConfirmationDialog, ASetupThatTicksSlackOnlyLeavesKeepingFilesToItsOwnLine) {
  state.SetTicked(Box::chkPurgeSlackOnly, true);
  state.SetTicked(Box::chkDoNotDeletePurgedFiles, false);
  Open(true);
  Purge();
  EXPECT_FALSE(options.blnDoNotDeletePurgedFiles);
}

TEST_F(PurgeConfirmationDialog, WithoutSubfoldersEmptyFoldersAreNeitherOfferedNorDeleted) {
  ASSERT_TRUE(state.Get(Box::chkDeleteEmptyFolders).ticked);
  Open(false);
  EXPECT_FALSE(state.Get(Box::chkDeleteEmptyFolders).visible ||
               state.Get(Box::chkDeleteEmptyFolders).ticked);
  state.SetSlackOnly(true);
  state.SetSlackOnly(false);
  EXPECT_FALSE(state.Get(Box::chkDeleteEmptyFolders).visible);
  state.SetTicked(Box::chkDeleteEmptyFolders, true);
  Purge();
  EXPECT_FALSE(options.blnDeleteEmptyFolders);
}

TEST_F(PurgeConfirmationDialog, PurgingTakesEachOptionFromItsOwnBox) {
  Open(true);
  state.SetTicked(Box::chkOKToPurgeReadOnlyFiles, true);
  state.SetTicked(Box::chkOKToPurgeHardLinkedFiles, true);
  state.SetTicked(Box::chkOKToPurgeSensitiveFiles, true);
  state.SetTicked(Box::chkFolderNamesOnly, false);
  state.SetTicked(Box::chkConfirmFiles, true);
  Purge();
  const bool expected[] = {false, true, false, true, true, false, true, true, false};
  const bool actual[] = {options.blnDoNotDeletePurgedFiles,
                         options.blnOKToPurgeReadOnlyFiles,
                         options.blnOKToPurgeSystemFiles,
                         options.blnOKToPurgeHardLinkedFiles,
                         options.blnOKToPurgeSensitiveFiles,
                         options.blnFolderNamesOnly,
                         options.blnDeleteEmptyFolders,
                         confirmFiles,
                         state.Visible()};
  static_assert(std::size(expected) == std::size(actual));
  for (std::size_t i = 0; i < std::size(expected); ++i)
    EXPECT_EQ(actual[i], expected[i]) << "value " << i;

  // Unticked, the box lets the next purge refuse files with other names again.
  Open(true);
  EXPECT_TRUE(state.Get(Box::chkOKToPurgeHardLinkedFiles).ticked) << "kept from the last run";
  state.SetTicked(Box::chkOKToPurgeHardLinkedFiles, false);
  Purge();
  EXPECT_FALSE(options.blnOKToPurgeHardLinkedFiles);
}

TEST_F(PurgeConfirmationDialog, CancellingLeavesThePurgeUnconfirmedAndKeepingFilesAsItWas) {
  Open(true);
  state.SetTicked(Box::chkDoNotDeletePurgedFiles, true);
  state.Cancel(options);
  EXPECT_FALSE(options.blnConfirm);
  EXPECT_EQ(state.Message(), "");
  EXPECT_FALSE(state.Get(Box::chkDoNotDeletePurgedFiles).ticked);
  EXPECT_FALSE(state.TakeCancelFocus());
}

TEST_F(PurgeConfirmationDialog, TheChosenClusterSizeIsKeptForTheDrive) {
  EXPECT_STREQ(kClusterSizeEntries[static_cast<std::size_t>(state.SelectedClusterSize())].text,
               "4 KB");
  Open(true, GetClusterSize(clusterSizes, "/"));
  EXPECT_EQ(state.SelectedClusterSize(), -1);  // 3072 is not in the list
  Purge();
  EXPECT_EQ(GetClusterSize(clusterSizes, "/"), 3072);

  Open(true, 16384);
  EXPECT_STREQ(kClusterSizeEntries[static_cast<std::size_t>(state.SelectedClusterSize())].text,
               "16 KB");
  state.SelectClusterSize(6);
  Purge();
  EXPECT_EQ(GetClusterSize(clusterSizes, "/"), 32768);
  EXPECT_EQ(queries, 1);
}
