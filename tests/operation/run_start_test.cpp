#include "operation/run_start.h"

#include "operation/run_fixture.h"
#include "support/file_setup.h"
#include "support/native_path.h"

using namespace TestSupport;

class RunStartTest : public RunTest {
 protected:
  RunStarter starter{settings, dialogs};
  std::vector<std::string> statuses;
  std::optional<std::int32_t> Prepare() {
    return starter.PreparePurge(run, [this](const std::string& s) { statuses.push_back(s); });
  }
};

TEST_F(RunStartTest, NoFilesAndAMissingFolderAreRefusedAndTheMissingFolderForgotten) {
  EXPECT_FALSE(starter.CheckTarget());
  settings.target = {folder / NativePath("gone/"), "*.*", false};
  EXPECT_FALSE(starter.CheckTarget());
  EXPECT_EQ(settings.target.TargetFolder, "");
  EXPECT_EQ(settings.target.TargetFilespec, "");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].title, "Error");
  EXPECT_EQ(dialogs.shown[0].text, "No files specified.");
  EXPECT_EQ(dialogs.shown[1].text, "Folder does not exist.");
}

TEST_F(RunStartTest, APurgeNeedsAMatchingFileInTheFolderUnlessSubfoldersAreIncluded) {
  Target("*.txt");
  EXPECT_FALSE(Prepare());
  Target("x.txt");
  EXPECT_FALSE(Prepare());
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].title, "Purge files");
  EXPECT_EQ(dialogs.shown[0].text, "There are no files in " + folder.Path() + " matching *.txt.");
  EXPECT_EQ(dialogs.shown[1].text, "File x.txt not found.");
}

TEST_F(RunStartTest, APatternIsCountedAndNothingFoundIsTold) {
  MakeFolder(folder / "sub");
  Target("*.txt", true);
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2455198;
  EXPECT_FALSE(Prepare());
  EXPECT_EQ(statuses, (std::vector<std::string>{"Now counting files ...", ""}));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Information);
  EXPECT_EQ(dialogs.shown[0].text, "There are no files in " + folder.Path() +
                                       " or in any of its subfolders matching *.txt (possibly "
                                       "due to the date restriction).");

  WriteFile(folder / NativePath("sub/a.txt"), "x");
  SetModificationTime(folder / NativePath("sub/a.txt"), 1000000000);
  EXPECT_EQ(Prepare(), 1);

  // A stopped count answers nothing and leaves telling the user to its caller.
  run.blnStop = true;
  EXPECT_FALSE(Prepare());
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(RunStartTest, ASingleFileDatedOnOrAfterTheLimitIsExcludedBeforeTheConfirmation) {
  WriteFile(folder / "new.txt", "x");
  Target("new.txt");
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2455198;
  EXPECT_FALSE(Prepare());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "Purge files");
  EXPECT_TRUE(
      dialogs.shown[0].text.ends_with("and so is excluded by the current date restriction."));
  EXPECT_TRUE(statuses.empty()) << "a single file is not counted";
}

TEST_F(RunStartTest, ListingMessagesNameTheFolderTheFilesOrTheFile) {
  Target("*.*");
  EXPECT_FALSE(starter.PrepareListing());
  Target("*.doc");
  EXPECT_FALSE(starter.PrepareListing());
  Target("a.doc");
  EXPECT_FALSE(starter.PrepareListing());
  Target("*.doc", true);
  EXPECT_TRUE(starter.PrepareListing());
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[0].text, "There are no files in " + folder.Path() + ".");
  EXPECT_EQ(dialogs.shown[1].text, "There are no files in " + folder.Path() + " matching *.doc.");
  EXPECT_EQ(dialogs.shown[2].text, "File a.doc not found.");
}

TEST_F(RunStartTest, ListingSubfoldersAsksAboutTheSpeedAndTheFolderNames) {
  Target("*.*", true);
  dialogs.Answer(MessageAnswer::Yes);
  dialogs.Answer(MessageAnswer::No);
  RunRequest listing = starter.RequestForTarget(RunKind::List);
  EXPECT_TRUE(starter.ChooseListingDisplay(listing));
  EXPECT_FALSE(listing.displayFileNames);
  EXPECT_TRUE(listing.displayFolderNames);
  EXPECT_EQ(starter.ListingCaption(listing), "List folders");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_TRUE(
      dialogs.shown[0].text.starts_with("The purge speed has not been measured for drive "));
  EXPECT_EQ(dialogs.shown[1].title, "List folder names?");

  dialogs.Answer(MessageAnswer::No);
  EXPECT_FALSE(starter.ChooseListingDisplay(listing)) << "no estimate wanted: no listing";
}

TEST_F(RunStartTest, AnEmptiedTargetFolderIsRemovedOnlyWhenTheUserSaysYes) {
  settings.target = {folder / "t", "*.*", false};
  MakeFolder(folder / "t");
  dialogs.Answer(MessageAnswer::No);
  EXPECT_FALSE(starter.OfferToDeleteEmptyFolder());
  EXPECT_TRUE(Exists(folder / "t"));
  dialogs.Answer(MessageAnswer::Yes);
  EXPECT_TRUE(starter.OfferToDeleteEmptyFolder());
  EXPECT_FALSE(Exists(folder / "t"));
  EXPECT_EQ(dialogs.shown[0].text, "Delete folder " + folder / "t" + "?");
  EXPECT_EQ(dialogs.shown[0].title, "Delete folder?");
}
