#include "operation/run_start.h"

#include <cstdio>

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

// No files and a missing folder are refused, the missing folder forgotten. Without subfolders, a
// purge or a listing needs a matching file in the folder.
TEST_F(RunStartTest, ATargetWithoutFilesIsRefusedNamingTheFolderTheFilesOrTheFile) {
  EXPECT_FALSE(starter.CheckTarget());
  settings.target = {folder / NativePath("gone/"), "*.*", false};
  EXPECT_FALSE(starter.CheckTarget());
  EXPECT_EQ(settings.target.TargetFolder + settings.target.TargetFilespec, "");
  EXPECT_EQ(dialogs.shown.at(0).title + "|" + dialogs.shown[0].text + "|" + dialogs.shown.at(1).text,
            "Error|No files specified.|Folder does not exist.");
  const std::string none = "There are no files in " + folder.Path();
  const struct { bool listing; const char* filespec; std::string message; } rows[] = {
      {false, "*.txt", "Purge files|" + none + " matching *.txt."},
      {false, "x.txt", "Purge files|File x.txt not found."},
      {true, "*.*", "List and estimate time|" + none + "."},
      {true, "*.doc", "List and estimate time|" + none + " matching *.doc."},
      {true, "a.doc", "List and estimate time|File a.doc not found."},
  };
  for (const auto& row : rows) {
    Target(row.filespec);
    dialogs.shown.clear();
    EXPECT_FALSE(row.listing ? starter.PrepareListing() : Prepare().has_value());
    EXPECT_EQ(dialogs.shown.at(0).title + "|" + dialogs.shown[0].text, row.message);
  }
  // With subfolders, no file is needed; a listing of them asks about the speed and the folder names.
  Target("*.doc", true);
  EXPECT_TRUE(starter.PrepareListing());
  dialogs.Answer(MessageAnswer::Yes);
  dialogs.Answer(MessageAnswer::No);
  RunRequest listing = starter.RequestForTarget(RunKind::List);
  EXPECT_TRUE(starter.ChooseListingDisplay(listing));
  EXPECT_EQ(starter.ListingCaption(listing), "List folders");
  EXPECT_EQ(dialogs.shown.at(2).title, "List folder names?");
  EXPECT_TRUE(dialogs.shown[1].text.starts_with("The purge speed has not been measured for drive "));
  dialogs.Answer(MessageAnswer::No);
  EXPECT_FALSE(starter.ChooseListingDisplay(listing)) << "no estimate wanted: no listing";
}

TEST_F(RunStartTest, APatternIsCountedAndNothingFoundIsTold) {
  Target("*.txt", true);
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2455198;
  EXPECT_FALSE(Prepare());
  EXPECT_EQ(statuses, (std::vector<std::string>{"Now counting files ...", ""}));
  EXPECT_EQ(dialogs.shown.at(0).icon, MessageIcon::Information);
  EXPECT_EQ(dialogs.shown[0].text, "There are no files in " + folder.Path() +
                                       " or in any of its subfolders matching *.txt (possibly "
                                       "due to the date restriction).");

  SetModificationTime(WriteFile(folder / "a.txt", "x"), 1000000000);
  EXPECT_EQ(Prepare(), 1);

  // A stopped count answers nothing and leaves telling the user to its caller.
  run.blnStop = true;
  EXPECT_FALSE(Prepare());
  // A single file dated on or after the limit is left out with the date restriction's message (the
  // second message: the stopped count told nothing).
  WriteFile(folder / "new.txt", "n");
  Target("new.txt");
  EXPECT_FALSE(Prepare());
  EXPECT_EQ(dialogs.shown.at(1).title + "|" + dialogs.shown.at(1).text.substr(0, 9), "Purge files|The file ");
}

// A target folder that still holds a file is not offered (no question is scripted for it).
TEST_F(RunStartTest, AnEmptiedTargetFolderIsRemovedOnlyWhenTheUserSaysYes) {
  settings.target = {folder / "t", "*.*", false};
  MakeFolder(folder / "t");
  const std::string file = WriteFile(folder / NativePath("t/f"), "f");
  EXPECT_FALSE(starter.OfferToDeleteEmptyFolder());
  ASSERT_EQ(std::remove(file.c_str()), 0);
  dialogs.Answer(MessageAnswer::No);
  EXPECT_FALSE(starter.OfferToDeleteEmptyFolder());
  EXPECT_TRUE(Exists(folder / "t"));
  dialogs.Answer(MessageAnswer::Yes);
  EXPECT_TRUE(starter.OfferToDeleteEmptyFolder());
  EXPECT_FALSE(Exists(folder / "t"));
  EXPECT_EQ(dialogs.shown[0].title + "|" + dialogs.shown[0].text,
            "Delete folder?|Delete folder " + folder / "t" + "?");
}
