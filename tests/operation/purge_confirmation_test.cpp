#include "operation/purge_confirmation.h"

#include <gtest/gtest.h>


#include "operation/purge_confirmation_state.h"
#include "support/native_path.h"
#include "support/scripted_random.h"

using Box = PurgeConfirmationState::Box;
using TestSupport::NativePath;

TEST(PurgeConfirmationText, NamesWhatIsPurgedHowManyFilesAndTheirOtherNames) {
  const std::string date = "\r\nwhich satisfy the date restriction.";
  const std::string destroy = "\r\nThis will permanently destroy all data in ";
  const std::string otherNames =
      " other names (hard links) that may lie outside what you chose; ";
  const std::string unless =
      " not purged unless \"Purge files that have other names (hard links)\" is ticked.";
  const struct {
    std::string folder, filespec;
    bool subfolders, dateRestriction;
    std::int32_t count, withOtherNames;
    // What follows "purge " in both messages, and what follows that in the normal one.
    std::string what, rest;
  } rows[] = {
      {"/home/ann/old/", "*.*", false, true, 2, 0, "both files in \r\n/home/ann/old/ ?",
       date + destroy + "these two files."},
      {"/d/", "*.*", true, false, 1, 0,
       "the single file in \r\n/d/\r\nand all files in all subfolders?", destroy + "this file."},
      {"/data/", "*.*", false, false, kMoreThan1000Files, 0,
       "all (more than 1000) files in \r\n/data/ ?", destroy + "these (more than 1000) files."},
      {"/data/", "*.txt", false, true, kMoreThan1000Files, 0,
       "the (more than 1000) files\r\n/data/*.txt ?",
       date + destroy + "these (more than 1000) files."},
      // A single file gets no date line; folder and name are joined by exactly one separator.
      {"/home/ann/", "letter.txt", false, true, 1, 0, "the file\r\n/home/ann/letter.txt ?",
       destroy + "this file."},
      {"/home/ann", "letter.txt", false, true, 0, 0, "the file\r\n/home/ann/letter.txt ?",
       destroy + "this file."},
      {"/home/ann//", "letter.txt", false, true, 0, 0, "the file\r\n/home/ann/letter.txt ?",
       destroy + "this file."},
      {"/d/", "a?.txt", false, true, 1, 0, "the files\r\n/d/a?.txt ?", destroy + "this file."},
      {"/srv/logs/", "*.log", true, true, 45, 0,
       "the 45 files\r\n/srv/logs/*.log\r\nand all files of the form \"*.log\" in all subfolders?",
       date + destroy + "these forty five files."},
      {"/srv/logs/", "*.log", false, false, 45, 0, "the 45 files\r\n/srv/logs/*.log ?",
       destroy + "these forty five files."},
      {"/srv/logs/", "*.log", false, false, 45, 1, "the 45 files\r\n/srv/logs/*.log ?",
       destroy + "these forty five files.\r\n\r\n1 of these files has" + otherNames + "it is" +
           unless},
      {"/srv/logs/", "*.log", false, false, 45, 3, "the 45 files\r\n/srv/logs/*.log ?",
       destroy + "these forty five files.\r\n\r\n3 of these files have" + otherNames + "they are" +
           unless},
      {"/srv/logs/", "a.log", false, false, 1, 1, "the file\r\n/srv/logs/a.log ?",
       destroy + "this file.\r\n\r\nThis file has" + otherNames + "it is" + unless},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.folder + row.filespec + " " + std::to_string(row.count));
    TestSupport::ScriptedRandom random;
    const auto texts = BuildPurgeConfirmationText(
        {NativePath(row.folder), row.filespec, row.subfolders}, row.dateRestriction, row.count,
        row.withOtherNames, random);
    const std::string what = NativePath(row.what);
    EXPECT_EQ(texts.element[0], "Are you sure that you want to purge the slack area of " + what);
    EXPECT_EQ(texts.element[1], "Are you sure that you want to purge " + what + row.rest);
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

TEST_F(PurgeConfirmationDialog, OpeningShowsTheNormalMessageAndCancelHasTheFocusAfterEachClick) {
  options.blnConfirm = true;
  Open(true);
  EXPECT_FALSE(options.blnConfirm);
  EXPECT_EQ(state.Message(), "normal message");
  EXPECT_EQ(state.DoPurgeText(), "Yes, purge these files");
  EXPECT_EQ(DoPurgeCaption(1, false), "Yes, purge this file");
  EXPECT_EQ(DoPurgeCaption(2, false), "Yes, purge these files");
  EXPECT_EQ(DoPurgeCaption(1, true), "Yes, purge these files");
  EXPECT_TRUE(state.TakeCancelFocus());
  EXPECT_FALSE(state.TakeCancelFocus());
  state.SetTicked(Box::chkOKToPurgeReadOnlyFiles, true);
  EXPECT_TRUE(state.TakeCancelFocus());

  // Cancel: unconfirmed, no message, keeping files as it was, no option changed.
  state.SetTicked(Box::chkDoNotDeletePurgedFiles, true);
  state.Cancel(options);
  EXPECT_FALSE(options.blnConfirm || options.blnOKToPurgeReadOnlyFiles);
  EXPECT_EQ(state.Message(), "");
  EXPECT_FALSE(state.Get(Box::chkDoNotDeletePurgedFiles).ticked);
  EXPECT_FALSE(state.TakeCancelFocus());
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

TEST_F(PurgeConfirmationDialog, PurgingTakesEachOptionFromItsOwnBoxAndKeepsFilesOnlyOnce) {
  Open(true);
  state.SetTicked(Box::chkOKToPurgeReadOnlyFiles, true);
  state.SetTicked(Box::chkOKToPurgeHardLinkedFiles, true);
  state.SetTicked(Box::chkOKToPurgeSensitiveFiles, true);
  state.SetTicked(Box::chkFolderNamesOnly, false);
  state.SetTicked(Box::chkConfirmFiles, true);
  state.SetSlackOnly(true);
  Purge();
  EXPECT_TRUE(options.blnConfirm);
  EXPECT_FALSE(options.blnPurgeSlackOnly);
  std::string values;
  for (const bool value :
       {options.blnDoNotDeletePurgedFiles, options.blnOKToPurgeReadOnlyFiles,
        options.blnOKToPurgeSystemFiles, options.blnOKToPurgeHardLinkedFiles,
        options.blnOKToPurgeSensitiveFiles, options.blnFolderNamesOnly,
        options.blnDeleteEmptyFolders, confirmFiles, state.Visible()})
    values += value ? '1' : '0';
  EXPECT_EQ(values, "110110010") << "slack-only keeps the files and no folder is removed";

  // The next opening gives the boxes back as they were; unticked, the box lets the purge refuse
  // files with other names again.
  Open(true);
  const OptionBox box = state.Get(Box::chkDoNotDeletePurgedFiles);
  EXPECT_TRUE(!box.ticked && box.enabled && !state.Get(Box::chkPurgeSlackOnly).ticked);
  EXPECT_TRUE(state.Get(Box::chkOKToPurgeHardLinkedFiles).ticked) << "kept from the last run";
  state.SetTicked(Box::chkOKToPurgeHardLinkedFiles, false);
  // A setup that ticks slack-only leaves keeping files to its own line.
  state.SetTicked(Box::chkDoNotDeletePurgedFiles, true);
  state.SetTicked(Box::chkPurgeSlackOnly, true);
  state.SetTicked(Box::chkDoNotDeletePurgedFiles, false);
  Open(true);
  Purge();
  EXPECT_FALSE(options.blnOKToPurgeHardLinkedFiles || options.blnDoNotDeletePurgedFiles);
  EXPECT_TRUE(options.blnDeleteEmptyFolders);
}

TEST_F(PurgeConfirmationDialog, TheChosenClusterSizeIsKeptForTheDrive) {
  EXPECT_EQ(state.SelectedClusterSize(), 3);  // "4 KB"
  Open(true, GetClusterSize(clusterSizes, "/"));
  EXPECT_EQ(state.SelectedClusterSize(), -1);  // 3072 is not in the list
  Purge();
  EXPECT_EQ(GetClusterSize(clusterSizes, "/"), 3072);
  for (const auto& [size, index] : {std::pair{512, 0}, std::pair{16384, 5}, std::pair{65536, 7}}) {
    Open(true, size);
    EXPECT_EQ(state.SelectedClusterSize(), index) << size;
  }
  state.SelectClusterSize(static_cast<int>(kClusterSizeEntries.size()));
  EXPECT_EQ(state.SelectedClusterSize(), -1);
  state.SelectClusterSize(6);
  Purge();
  EXPECT_EQ(GetClusterSize(clusterSizes, "/"), 32768);
  EXPECT_EQ(queries, 1);
}

TEST_F(PurgeConfirmationDialog, TheDrivesWarningsAreShownOneToALineUntilTheNextOnes) {
  state.SetVolumeWarnings({"/mnt/ram keeps its files in memory.", "/mnt/ram is FUSE."});
  EXPECT_EQ(state.VolumeWarningText(), "/mnt/ram keeps its files in memory.\r\n/mnt/ram is FUSE.");
  state.SetVolumeWarnings({});
  EXPECT_EQ(state.VolumeWarningText(), "");
}
