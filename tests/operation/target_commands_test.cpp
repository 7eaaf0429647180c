#include "operation/target_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "operation/main_window_view.h"
#include "operation/program_settings.h"
#include "platform/drives.h"
#include "platform/program.h"
#include "support/file_setup.h"
#include "support/native_path.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace TestSupport;

namespace {

// The main window as the commands see it, without a window: it records what they ask of it.
struct PlainMainWindow final : MainWindowView {
  void SetMenuEnabled(bool enabled) override { menuEnabled = enabled; }
  void RefreshTargetDisplay() override { ++targetRefreshes; }
  void RefreshSubfolderDisplay() override {}
  void RefreshTypeOfPurgeDescription() override {}
  void UpdateDateRestrictionLabel() override { ++dateLabelUpdates; }
  void SetSetupFilename(const std::string&) override {}
  void ShowSetupFilename(bool) override {}
  void StartDialogGuard() override { guard = true; }
  bool DialogGuard() const override { return guard; }
  void ClearEstimate() override { captions["lblEstimatedTime"].clear(); }
  void SetCaption(const std::string& label, const std::string& text) override { captions[label] = text; }
  void ShowInfoLabels(bool) override {}
  bool StartupCompleted() const override { return startupCompleted; }
  void SetRunning(bool isRunning) override { running = isRunning; }
  bool Running() const override { return running; }
  void SetLastReport(const std::string&) override {}

  bool menuEnabled = true, guard = false, running = false, startupCompleted = true;
  int targetRefreshes = 0, dateLabelUpdates = 0;
  std::map<std::string, std::string> captions;
};

class TargetCommandsTest : public ::testing::Test {
 protected:
  TargetRecord& Target() { return settings.target; }
  // The title and text of the n-th message shown.
  std::string Shown(std::size_t n) { return dialogs.shown.at(n).title + "|" + dialogs.shown[n].text; }

  TempFolder folder;
  PlainMainWindow main;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  TargetCommands commands{main, settings, dialogs};
};

// A dialog that is never expected to open.
bool NoDialog(SpecifyFiles&) { ADD_FAILURE() << "frmSpecifyFiles was shown"; return false; }

}  // namespace

// The estimate: 1 MB at 0.1 MB/s with 12 overwrites is 120 s, times 0.917 / 1 = 110 s.
TEST_F(TargetCommandsTest, ASingleFileKeepsItsExactFolderAndNameAndIsEstimatedWithItsDrive) {
  MakeFolder(folder / "Sub Folder");
  const std::string path = WriteFile(folder / NativePath("Sub Folder/Report Q1.TXT"), Repeat('x', 1024));
  Platform::DriveInfo drive;
  ASSERT_FALSE(Platform::DriveOfPath(folder.Path(), drive));
  settings.purgeSpeeds.Set(drive.root, 0.1f, 1);
  Target() = {"/old/", "*.*", true};
  dialogs.Choose(path);
  commands.cmdSingleFile_MouseUp();
  EXPECT_EQ(Target().TargetFolder + "|" + Target().TargetFilespec,
            folder / NativePath("Sub Folder/") + "|Report Q1.TXT");
  EXPECT_TRUE(Target().filespecIsName && !Target().blnSubdirectories);
  EXPECT_EQ(main.captions["lblEstimatedTime"], "Less than a minute.");
  EXPECT_EQ(SingleFileEstimate(1048576, 0.1f, 12, 0.917, 0.2), "1 minute and 50 seconds");
  EXPECT_EQ(SingleFileEstimate(0, 0.1f, 12, 0.917, 0.2), "") << "an empty file";
  EXPECT_EQ(SingleFileEstimate(1024, 0, 12, 0.917, 0.2), "") << "an unmeasured drive";
  EXPECT_EQ(SingleFileEstimate(1e15, 1e-6f, 12, 0.917, 0.2).back(), 's') << "never wraps";

  // A file that the date restriction excludes is told of, still taken, and gets no estimate.
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2447893;  // 1990-01-01
  Target().blnSubdirectories = true;
  commands.DropTarget(path);
  EXPECT_EQ(Shown(0).rfind("Single file|The file " + path + "\r\nhas a date of ", 0), 0u);
  EXPECT_FALSE(Target().blnSubdirectories) << "never the file's namesakes in subfolders";
  EXPECT_EQ(main.captions["lblEstimatedTime"], "");
}

TEST_F(TargetCommandsTest, NoCommandActsDuringARunNorAMouseUpWhileTheGuardHoldsAndClearAsksFirst) {
  Target() = {folder.Path(), "*.*", true};
  dialogs.Choose(std::nullopt);  // a cancelled choice keeps the target, and starts the guard
  commands.cmdSingleFile_MouseUp();
  EXPECT_TRUE(main.guard);
  main.running = true;
  commands.cmdClear_Click();
  for (const bool running : {true, false}) {
    main.running = running;
    main.guard = !running;
    commands.cmdSingleFile_MouseUp();
    commands.cmdSpecifyDirectory0_MouseUp();
    commands.cmdSpecifyFiles_MouseUp(NoDialog);
    commands.cmdSubdirectories_MouseUp();
    if (running) commands.DropTarget(folder.Path());
  }
  EXPECT_TRUE(dialogs.choosers.size() == 1 && dialogs.shown.empty());
  EXPECT_EQ(dialogs.choosers[0].title, "Specify file to be purged.");
  EXPECT_EQ(main.targetRefreshes, 0);
  EXPECT_TRUE(Target().blnSubdirectories && Target().TargetFilespec == "*.*");

  // Clear forgets folder and files only on Yes.
  dialogs.Answer(MessageAnswer::No);
  dialogs.Answer(MessageAnswer::Yes);
  commands.cmdClear_Click();
  EXPECT_EQ(Target().TargetFolder, folder.Path());
  commands.cmdClear_Click();
  EXPECT_EQ(Shown(1), "Clear|Clear folder and file specifications?");
  EXPECT_EQ(Target().TargetFolder + Target().TargetFilespec, "");
  EXPECT_TRUE(Target().blnSubdirectories) << "the next choice of folder or file resets it";
  EXPECT_EQ(main.dateLabelUpdates, 1);
}

// A folder is taken with all its files only on Yes, and then with its subfolders by the toggle.
TEST_F(TargetCommandsTest, AFolderIsTakenWithAllItsFilesOnlyOnYesAndItsSubfoldersByTheToggle) {
  WriteFile(folder / "a.txt", "a");
  MakeFolder(folder / "sub");
  Target() = {"/old/", "*.doc", true};
  for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    dialogs.Choose(folder.Path() + Platform::kPathSeparator);
    dialogs.Answer(answer);
    commands.cmdSpecifyDirectory0_MouseUp();
    // Exactly one separator at the end.
    EXPECT_EQ(Target().TargetFolder + Target().TargetFilespec,
              folder.Path() + (answer == MessageAnswer::Yes ? "*.*" : ""));
    EXPECT_FALSE(Target().blnSubdirectories);
  }
  EXPECT_EQ(main.captions["lblSubdirectories2"], "(Do not operate on files in lower subfolders.)");
  EXPECT_EQ(dialogs.choosers.at(0).title, "Specify folder containing files to be purged");
  EXPECT_EQ(Shown(0), "Specify folder|Do you wish to purge ALL files in " + folder.Path() +
                          "\r\n(subject to any date restriction which is in effect)?");
  EXPECT_EQ(dialogs.shown.at(2).text,
            "If you wish also to purge all files in subfolders\r\n(subject to any date "
            "restriction which is in effect)\r\nthen click on the 'Subfolders?' button.");
  EXPECT_EQ(main.dateLabelUpdates, 2);
  for (const bool on : {true, false}) {
    commands.cmdSubdirectories_MouseUp();
    EXPECT_EQ(Target().blnSubdirectories, on);
  }
  EXPECT_EQ(main.captions["lblSubdirectories"], "No");
  Target().TargetFolder = folder / NativePath("sub/");
  commands.cmdSubdirectories_MouseUp();
  EXPECT_FALSE(Target().blnSubdirectories) << "a folder without subfolders";

  // A folder that cannot be read is forgotten; the user is not told while the window starts.
  const std::string gone = folder / NativePath("gone/");
  for (const bool started : {false, true}) {
    main.startupCompleted = started;
    Target() = {gone, "*.*", false};
    commands.cmdSubdirectories_MouseUp();
    EXPECT_EQ(Target().TargetFolder + Target().TargetFilespec, "");
    EXPECT_EQ(dialogs.shown.size(), started ? 4u : 3u);
  }
  EXPECT_EQ(Shown(3), "Error|Error when attempting to access " + gone + ".");
}

TEST_F(TargetCommandsTest, SpecifyFilesNeedsAFolderWithFilesAndOffersAllOfThemBelowIt) {
  commands.cmdSpecifyFiles_MouseUp(NoDialog);
  MakeFolder(folder / "sub");
  Target() = {folder.Path(), "", true};
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2451545;
  commands.cmdSpecifyFiles_MouseUp(NoDialog);
  EXPECT_EQ(Shown(0), "Folder unspecified|The folder has not been specified.");
  EXPECT_EQ(Shown(1), "Specify files|There are no files in " + folder.Path() +
                          " or in any of its subfolders (possibly due to the date restriction).");

  // Files only in lower subfolders: all files, but no single file, are offered.
  settings.dateRestriction.lngOnlyBeforeThisJDN = DatePr2::NoDateRestriction;
  WriteFile(folder / NativePath("sub/deep.txt"), "d");
  commands.cmdSpecifyFiles_MouseUp([&](SpecifyFiles& state) {
    EXPECT_FALSE(main.menuEnabled || state.SingleFileEnabled());
    EXPECT_EQ(state.SelectedOption(), SpecifyFilesOption::AllFiles);
    return state.Accept(dialogs);
  });
  EXPECT_TRUE(Target().TargetFilespec == "*.*" && Target().blnSubdirectories);

  // A file chosen from the list is that file alone.
  WriteFile(folder / "Notes.TXT", "n");
  commands.cmdSpecifyFiles_MouseUp([&](SpecifyFiles& s) { s.SelectFile(0); return s.Accept(dialogs); });
  EXPECT_EQ(Target().TargetFilespec, "Notes.TXT");
  EXPECT_TRUE(Target().filespecIsName && !Target().blnSubdirectories);
  EXPECT_EQ(main.captions["lblSubdirectories"], "No");
}

// "kexwell FOLDER ..." takes the first path as if chosen, and says so when there were more.
TEST_F(TargetCommandsTest, StartedWithSeveralPathsTakesTheFirstAndSaysSo) {
  const std::string other = WriteFile(folder / "b.txt", "b");
  for (std::size_t paths = 1; paths <= 3; ++paths) {
    dialogs.Answer(MessageAnswer::Yes);
    commands.StartWithTargets(std::vector<std::string>(paths, folder.Path()));
  }
  ASSERT_EQ(dialogs.shown.size(), 5u) << "one path is taken without a word";
  const std::string first = "Kexwell takes one target at a time: " + folder.Path() + "\r\nThe other ";
  EXPECT_EQ(dialogs.shown[1].text, first + "1 path was left out.");
  EXPECT_EQ(dialogs.shown[3].text, first + "2 paths were left out.");
  EXPECT_EQ(Target().TargetFolder + Target().TargetFilespec, folder.Path() + "*.*");
}
