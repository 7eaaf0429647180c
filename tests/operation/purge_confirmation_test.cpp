#include "operation/purge_confirmation.h"

#include <gtest/gtest.h>

#include "operation/purge_confirmation_state.h"
#include "support/native_path.h"
#include "support/scripted_random.h"

using Box = PurgeConfirmationState::Box;
using TestSupport::NativePath;

TEST(PurgeConfirmationText, NamesWhatIsPurgedHowManyFilesAndTheirOtherNames) {
  constexpr std::int32_t kMany = kMoreThan1000Files;
  const std::string date = "\r\nwhich satisfy the date restriction.";
  const std::string all = "\r\nThis will permanently destroy all data in ";
  const std::string one = all + "this file.", many = all + "these (more than 1000) files.";
  const std::string five = all + "these forty five files.", log45 = "the 45 files\r\n/a/*.log ?" + five;
  const auto others = [](const std::string& who, const std::string& pronoun) {
    return "\r\n\r\n" + who + " other names (hard links) that may lie outside what you chose; " + pronoun +
           " not purged unless \"Purge files that have other names (hard links)\" is ticked.";
  };
  // Folder, file specification, subfolders, date restriction, count, files with other names: what
  // follows "purge ". A single file gets no date line; folder and name get exactly one separator.
  const struct { std::string folder, filespec; bool subfolders, date; std::int32_t count, linked;
                 std::string question; } rows[] = {
      {"/a/", "*.*", 0, 1, 2, 0, "both files in \r\n/a/ ?" + date + all + "these two files."},
      {"/a/", "*.*", 1, 1, 1, 0, "the single file in \r\n/a/\r\nand all files in all subfolders?" + one},
      {"/a/", "*.*", 0, 0, kMany, 0, "all (more than 1000) files in \r\n/a/ ?" + many},
      {"/a/", "*.txt", 0, 1, kMany, 0, "the (more than 1000) files\r\n/a/*.txt ?" + date + many},
      {"/a/", "a?.txt", 0, 1, 1, 0, "the files\r\n/a/a?.txt ?" + one},
      {"/a/", "*.log", 1, 1, 45, 0,
       "the 45 files\r\n/a/*.log\r\nand all files of the form \"*.log\" in all subfolders?" + date + five},
      {"/a/", "*.log", 0, 0, 45, 1, log45 + others("1 of these files has", "it is")},
      {"/a/", "*.log", 0, 0, 45, 3, log45 + others("3 of these files have", "they are")},
      {"/a", "b.log", 0, 1, 1, 1, "the file\r\n/a/b.log ?" + one + others("This file has", "it is")},
  };
  for (const auto& row : rows) {
    TestSupport::ScriptedRandom random;
    const auto texts = BuildPurgeConfirmationText({NativePath(row.folder), row.filespec, row.subfolders},
                                                  row.date, row.count, row.linked, random);
    const std::string question = NativePath(row.question);
    EXPECT_EQ(texts.element[1], "Are you sure that you want to purge " + question);
    EXPECT_EQ(texts.element[0], "Are you sure that you want to purge the slack area of " +
                                    question.substr(0, question.find("?\r\n") + 1));
  }
}

class PurgeConfirmationDialog : public ::testing::Test {
 protected:
  // Opens the dialog for five files; the cluster size entry it selects.
  int Open(bool subfolders, std::int32_t clusterSize = 4096) {
    state.Show(options, texts, subfolders, 5, clusterSize);
    return state.SelectedClusterSize();
  }
  void Purge() { state.DoPurge(options, confirmFiles, clusterSizes, "/"); }

  static constexpr Box kKeep = Box::chkDoNotDeletePurgedFiles, kEmptyFolders = Box::chkDeleteEmptyFolders;
  PurgeConfirmationTexts texts{{"slack message", "normal message"}};
  PurgeConfirmationState state;
  PurgeOptions options;
  bool confirmFiles = false;
  DriveClusterSize clusterSizes{[](const std::string&, double&) { return std::int64_t{3072}; }};
};

// The message the dialog opens with is checked in the window test.
TEST_F(PurgeConfirmationDialog, CancelHasTheFocusAfterEachClickAndSlackOnlyKeepsTheFilesForThisPurgeAlone) {
  options.blnConfirm = true;
  Open(true);
  EXPECT_EQ(state.DoPurgeText() + "|" + DoPurgeCaption(1, false) + "|" + DoPurgeCaption(2, false) + "|" +
                DoPurgeCaption(1, true),
            "Yes, purge these files|Yes, purge this file|Yes, purge these files|Yes, purge these files");
  EXPECT_TRUE(!options.blnConfirm && state.TakeCancelFocus() && !state.TakeCancelFocus());
  state.SetTicked(kKeep, true);
  EXPECT_TRUE(state.TakeCancelFocus());
  // Cancel: no message, keeping files as it was.
  state.Cancel(options);
  EXPECT_FALSE(!state.Message().empty() || state.Get(kKeep).ticked || state.TakeCancelFocus());

  // Slack-only forces keeping the files, for this purge alone.
  // The chosen cluster size is kept for the drive; one not in the list is left as it is.
  EXPECT_EQ(Open(true, GetClusterSize(clusterSizes, "/")), -1);  // 3072 is not in the list
  Purge();
  EXPECT_EQ(GetClusterSize(clusterSizes, "/"), 3072);
  // Without subfolders, empty folders are neither offered nor deleted.
  for (const auto& [subfolders, before] : {std::pair{true, false}, {true, true}, {false, true}}) {
    Open(subfolders);
    EXPECT_EQ(state.Get(kEmptyFolders).ticked, subfolders);
    state.SetTicked(kKeep, before);
    state.SetSlackOnly(true);
    const OptionBox forced = state.Get(kKeep);
    EXPECT_TRUE(forced.ticked && !forced.enabled && !state.Get(kEmptyFolders).visible);
    EXPECT_EQ(state.Message(), "slack message");
    state.SetSlackOnly(false);
    const OptionBox back = state.Get(kKeep);
    EXPECT_TRUE(back.ticked == before && back.enabled && state.Message() == "normal message");
    EXPECT_EQ(state.Get(kEmptyFolders).visible, subfolders);
  }
  state.SetTicked(kEmptyFolders, true);
  Purge();
  EXPECT_FALSE(options.blnDeleteEmptyFolders);

  EXPECT_EQ(Open(true, 65536), 7);
  state.SelectClusterSize(6);
  // Slack-only keeps the files for this purge alone.
  state.SetSlackOnly(true);
  Purge();
  EXPECT_EQ(GetClusterSize(clusterSizes, "/"), 32768);
  EXPECT_TRUE(options.blnConfirm && options.blnDoNotDeletePurgedFiles);
  EXPECT_FALSE(options.blnPurgeSlackOnly || options.blnDeleteEmptyFolders || state.Visible());
  // The next opening gives the boxes back; a setup that ticks slack-only leaves keeping files to its
  // own line.
  Open(true);
  state.SetTicked(kKeep, true);
  state.SetTicked(Box::chkPurgeSlackOnly, true);
  state.SetTicked(kKeep, false);
  Open(true);
  Purge();
  EXPECT_TRUE(!options.blnDoNotDeletePurgedFiles && options.blnDeleteEmptyFolders);
}
