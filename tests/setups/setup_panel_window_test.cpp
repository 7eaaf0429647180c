#include "setups/setup_panel_window.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "support/native_path.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

#include "gui_support/fake_main_window.h"

using namespace TestSupport;

namespace {

class SetupPanelTest : public ::testing::Test {
 protected:
  SetupPanelTest() {
    settings.target = {"/home/anna/Documents/", "*.doc", true};
    panels = std::make_unique<SetupPanels>(window, settings, dialogs, remembered, nextRun);
    window.show();
  }

  // Opens the panel with cmdSetup and clicks the given buttons of the panels in turn.
  void Click(std::initializer_list<const char*> names) {
    window.guard = false;
    panels->cmdSetup_MouseUp();
    for (const char* name : names) {
      auto* button = panels->fraSetup()->findChild<QPushButton*>(QString::fromLatin1(name));
      if (button == nullptr) button = panels->picSaveSetup()->findChild<QPushButton*>(name);
      ASSERT_TRUE(button != nullptr && button->isVisibleTo(&window)) << name;
      QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_TRUE(window.fraMenu->isEnabled() && window.setupFilenameShown) << "the panel is closed";
  }
  void Load(const std::optional<std::string>& path) { dialogs.Choose(path); Click({"cmdLoadSetup"}); }
  void SaveAs(const std::string& path) {
    dialogs.Choose(path);
    Click({"cmdSaveSetup", "cmdSaveSetupAsOperationFile"});
  }

  TempFolder folder;
  const std::string nextRun = folder / "next.usr";
  FakeMainWindow window;
  ProgramSettings settings;
  RememberedSetup remembered;
  ScriptedDialogs dialogs;
  std::unique_ptr<SetupPanels> panels;
};

TEST_F(SetupPanelTest, ASetupSavedThroughTheChooserLoadsBackAndItsFolderIsOfferedNext) {
  window.guard = true;
  panels->cmdSetup_MouseUp();
  EXPECT_FALSE(panels->fraSetup()->isVisibleTo(&window)) << "the dialog guard is set";
  MakeFolders(folder / "sub");
  const std::string path = folder / "sub/work.kxs";
  SaveAs(folder / "sub/work");  // typed without an extension
  EXPECT_EQ(window.setupFilename, path);
  Click({"cmdSaveSetup", "cmdSaveSetupForNextRun"});
  EXPECT_EQ(ReadFile(nextRun), ReadFile(path));

  settings = ProgramSettings();
  window.setupFilename.clear();
  Load(path);
  EXPECT_EQ(settings.target.TargetFolder, "/home/anna/Documents/");
  EXPECT_EQ(window.setupFilename, path);
  EXPECT_EQ(window.targetRefreshes, 1);
  EXPECT_TRUE(window.guard);
  EXPECT_EQ(dialogs.choosers.at(0).folder, Platform::FolderPart(nextRun));
  EXPECT_EQ(dialogs.choosers.at(1).folder, WithTrailingSeparator(folder / "sub"));

  Click({"cmdClearSetup"});
  EXPECT_EQ(settings.target.TargetFolder + window.setupFilename, "");
  Click({"cmdRestoreSetup"});
  EXPECT_EQ(settings.target.TargetFolder, "/home/anna/Documents/");
  EXPECT_EQ(window.dateLabelUpdates, 2) << "after the load and the restore";
}

// A load that fails changes nothing; only Yes to the overwrite question replaces a file; every
// failure is told.
TEST_F(SetupPanelTest, AFailedLoadOrSaveIsToldAndOnlyYesToTheOverwriteQuestionReplacesAFile) {
  const std::string damaged = WriteFile(folder / "damaged.kxs", "0.15\r\n 2\r\n");
  Load(damaged);
  Load(folder / "missing.kxs");
  Load(std::nullopt);
  EXPECT_EQ(window.targetRefreshes, 0);
  EXPECT_EQ(dialogs.choosers.back().folder, Platform::FolderPart(nextRun));
  const std::string old = WriteFile(folder / "old.kxs", "old");
  dialogs.Answer(MessageAnswer::No);
  SaveAs(old);
  EXPECT_EQ(ReadFile(old), "old");
  EXPECT_EQ(window.setupFilename, "earlier.kxs");
  dialogs.Answer(MessageAnswer::Yes);
  SaveAs(folder / "old");  // the name as it is saved is asked about
  EXPECT_EQ(dialogs.shown.at(3).buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(ReadFile(old).substr(0, 6), "0.15\r\n");
  EXPECT_EQ(window.setupFilename, old);

  const std::string path = folder / "no such folder/setup.kxs";
  SaveAs(path);
  EXPECT_EQ(window.setupFilename, "") << "a failed save empties the setup name";
  panels = std::make_unique<SetupPanels>(window, settings, dialogs, remembered, path);
  Click({"cmdSaveSetup", "cmdSaveSetupForNextRun"});
  std::string shown;
  for (const MessageBoxRequest& box : dialogs.shown) shown += box.title + ": " + box.text + "\n";
  const std::string overwrite = "File exists: Overwrite existing file " + old + "?\n";
  EXPECT_EQ(shown, "Error: Error when attempting to load setup from file " + damaged +
                       "!\nError when attempting to load setup.: File " + folder / "missing.kxs" +
                       " not found!\n" + overwrite + overwrite + "Error: Cannot save setup in operation " +
                       "file " + path + "!\nError: Cannot save setup!\n");
}

}  // namespace
