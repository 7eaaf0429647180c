#include "setups/setup_panel_window.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/main_window_services.h"

#include "gui_support/fake_main_window.h"

using namespace TestSupport;

namespace {

class SetupPanelTest : public ::testing::Test {
 protected:
  SetupPanelTest() {
    settings.target = {"/home/anna/Documents/", "*.doc", true};
    settings.dateRestriction.lngOnlyBeforeThisJDN = 2453371;
    settings.purgeType.RestoreFromSetup(2, 3);
    panels =
        std::make_unique<SetupPanels>(window, settings, dialogs, remembered, folder / "next.usr");
    window.show();
  }

  // Opens the panel with cmdSetup, as the dialog guard's timer would allow.
  void OpenPanel() {
    window.guard = false;
    panels->cmdSetup_MouseUp();
  }

  void Click(const char* objectName) {
    const QString name = QString::fromLatin1(objectName);
    auto* button = panels->fraSetup()->findChild<QPushButton*>(name);
    if (button == nullptr) button = panels->picSaveSetup()->findChild<QPushButton*>(name);
    ASSERT_TRUE(button != nullptr && button->isVisibleTo(&window)) << objectName;
    QTest::mouseClick(button, Qt::LeftButton);
  }

  void SaveAsOperationFile(const std::optional<std::string>& path) {
    OpenPanel();
    Click("cmdSaveSetup");
    dialogs.Choose(path);
    Click("cmdSaveSetupAsOperationFile");
  }

  void Load(const std::optional<std::string>& path) {
    OpenPanel();
    dialogs.Choose(path);
    Click("cmdLoadSetup");
  }

  // The panel is closed and the main window is as before it was opened.
  void ExpectClosed() {
    EXPECT_FALSE(panels->fraSetup()->isVisibleTo(&window));
    EXPECT_FALSE(panels->picSaveSetup()->isVisibleTo(&window));
    EXPECT_TRUE(window.fraMenu->isEnabled());
    EXPECT_TRUE(window.setupFilenameShown);
    EXPECT_TRUE(dialogs.AllAnswered());
  }

  void ExpectMessage(std::size_t index, const std::string& title, const std::string& text) {
    ASSERT_LT(index, dialogs.shown.size());
    EXPECT_EQ(dialogs.shown[index].title, title);
    EXPECT_EQ(dialogs.shown[index].text, text);
    EXPECT_EQ(dialogs.shown[index].icon, MessageIcon::Exclamation);
  }

  TempFolder folder;
  FakeMainWindow window;
  ProgramSettings settings;
  RememberedSetup remembered;
  ScriptedDialogs dialogs;
  std::unique_ptr<SetupPanels> panels;
};

TEST_F(SetupPanelTest, SetupOpensThePanelBesideTheMenuUnlessTheDialogGuardIsSet) {
  window.guard = true;
  panels->cmdSetup_MouseUp();
  EXPECT_FALSE(panels->fraSetup()->isVisibleTo(&window));

  OpenPanel();
  EXPECT_FALSE(window.fraMenu->isEnabled());
  EXPECT_FALSE(window.setupFilenameShown);
  // fraMenu's left + cmdSetup's width + 100 twips; cmdSetup's top - 540 (fraSetup) and - 210
  // twips (picSaveSetup), at 96 DPI.
  EXPECT_EQ(panels->fraSetup()->pos(), QPoint(30 + 150 + 7, 60 + 300 - 36));
  Click("cmdSaveSetup");
  EXPECT_FALSE(panels->fraSetup()->isVisibleTo(&window));
  EXPECT_EQ(panels->picSaveSetup()->pos(), QPoint(30 + 150 + 7, 60 + 300 - 14));
  Click("cmdDontSaveSetup");
  ExpectClosed();
  OpenPanel();
  Click("cmdKeepSetup");
  ExpectClosed();
  EXPECT_EQ(window.setupFilename, "earlier.kxs");
}

TEST_F(SetupPanelTest, ASavedSetupLoadsBackAndShowsItsName) {
  const std::string path = folder / "work.kxs";
  SaveAsOperationFile(folder / "work");  // typed without an extension
  ExpectClosed();
  EXPECT_EQ(window.setupFilename, path);
  EXPECT_FALSE(Platform::FileExists(folder / "work"));
  OpenPanel();
  Click("cmdSaveSetup");
  Click("cmdSaveSetupForNextRun");
  ExpectClosed();
  EXPECT_EQ(ReadFile(folder / "next.usr"), ReadFile(path));

  settings = ProgramSettings();
  window.setupFilename.clear();
  Load(path);
  ExpectClosed();
  EXPECT_TRUE(dialogs.shown.empty());
  ASSERT_EQ(dialogs.choosers.size(), 2U);
  EXPECT_EQ(dialogs.choosers[0].title, "Specify operation file to be saved");
  EXPECT_EQ(dialogs.choosers[1].title, "Specify operation file to be loaded");
  EXPECT_EQ(dialogs.choosers[1].filter, "Operation files (*.kxs)");
  EXPECT_EQ(dialogs.choosers[1].folder, Platform::FolderPart(path));
  ASSERT_TRUE(SaveSetupToFile(folder / "again.kxs", settings));
  EXPECT_EQ(ReadFile(folder / "again.kxs"), ReadFile(path)) << "the loaded setup is in force";
  EXPECT_EQ(window.setupFilename, path);
  EXPECT_EQ(remembered.TargetFolder, "/home/anna/Documents/");
  EXPECT_EQ(window.targetRefreshes, 1);
  EXPECT_EQ(window.dateLabelUpdates, 1);
  EXPECT_TRUE(window.guard);
}

TEST_F(SetupPanelTest, ADamagedOrMissingFileIsNamedInItsMessage) {
  const std::string damaged = WriteFile(folder / "damaged.kxs", "0.15\r\n 2\r\n");
  Load(damaged);
  Load(folder / "missing.kxs");
  ExpectClosed();
  EXPECT_EQ(dialogs.shown.size(), 2U);
  ExpectMessage(0, "Error", "Error when attempting to load setup from file " + damaged + "!");
  ExpectMessage(1, "Error when attempting to load setup.",
                "File " + folder / "missing.kxs" + " not found!");
  // Cancel in the file chooser changes nothing and shows no message.
  Load(std::nullopt);
  SaveAsOperationFile(std::nullopt);
  ExpectClosed();
  EXPECT_EQ(dialogs.shown.size(), 2U);
  EXPECT_EQ(settings.target.TargetFolder, "/home/anna/Documents/");
  EXPECT_EQ(window.setupFilename, "earlier.kxs");
  EXPECT_EQ(remembered.TargetFolder, "");
  EXPECT_EQ(window.targetRefreshes, 0);
}

TEST_F(SetupPanelTest, TheChoosersOpenInTheSetupFolderThenWhereASetupWasLastSavedOrLoaded) {
  const std::string sub = folder / "sub";
  const std::string more = folder / "more";
  ASSERT_FALSE(Platform::CreateFolders(sub));
  ASSERT_FALSE(Platform::CreateFolders(more));
  SaveAsOperationFile(JoinPath(sub, "notes.txt"));
  EXPECT_EQ(window.setupFilename, JoinPath(sub, "notes.txt.kxs"));
  EXPECT_TRUE(Platform::FileExists(JoinPath(sub, "notes.txt.kxs")));
  Load(std::nullopt);
  const std::string other = JoinPath(more, "other.kxs");
  ASSERT_TRUE(SaveSetupToFile(other, settings));
  Load(other);
  Load(std::nullopt);
  SaveAsOperationFile(std::nullopt);
  ExpectClosed();
  EXPECT_TRUE(dialogs.shown.empty());
  const std::vector<std::string> folders = {
      Platform::FolderPart(folder / "next.usr"), WithTrailingSeparator(sub),
      WithTrailingSeparator(sub), WithTrailingSeparator(more), WithTrailingSeparator(more)};
  ASSERT_EQ(dialogs.choosers.size(), folders.size());
  for (std::size_t i = 0; i < folders.size(); ++i) {
    EXPECT_EQ(dialogs.choosers[i].folder, folders[i]) << i;
  }
}

TEST_F(SetupPanelTest, OnlyYesToTheOverwriteQuestionReplacesTheFile) {
  const std::string path = WriteFile(folder / "old.kxs", "old");
  dialogs.Answer(MessageAnswer::No);
  SaveAsOperationFile(path);
  dialogs.Answer(MessageAnswer::Cancel);
  SaveAsOperationFile(path);
  ExpectClosed();
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(window.setupFilename, "earlier.kxs");
  ASSERT_EQ(dialogs.shown.size(), 2U);
  EXPECT_EQ(dialogs.shown[0].title, "File exists");
  EXPECT_EQ(dialogs.shown[0].text, "Overwrite existing file " + path + "?");
  EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNoCancel);

  dialogs.Answer(MessageAnswer::Yes);
  SaveAsOperationFile(folder / "old");  // the name as it is saved is asked about
  ASSERT_EQ(dialogs.shown.size(), 3U);
  EXPECT_EQ(dialogs.shown[2].text, "Overwrite existing file " + path + "?");
  EXPECT_EQ(ReadFile(path).substr(0, ProgramVersion().size() + 2), ProgramVersion() + "\r\n");
  EXPECT_EQ(window.setupFilename, path);
}

TEST_F(SetupPanelTest, AFailedSaveIsToldAndEmptiesTheSetupName) {
  const std::string path = folder / "no such folder/setup.kxs";
  SaveAsOperationFile(path);
  ExpectClosed();
  ExpectMessage(0, "Error", "Cannot save setup in operation file " + path + "!");
  EXPECT_EQ(window.setupFilename, "");

  panels = std::make_unique<SetupPanels>(window, settings, dialogs, remembered, path);
  OpenPanel();
  Click("cmdSaveSetup");
  Click("cmdSaveSetupForNextRun");
  ExpectClosed();
  EXPECT_EQ(dialogs.shown.size(), 2U);
  ExpectMessage(1, "Error", "Cannot save setup!");
}

TEST_F(SetupPanelTest, ClearThenRestoreBringsBackTheTargetAndTheDateRestriction) {
  OpenPanel();
  Click("cmdClearSetup");
  ExpectClosed();
  EXPECT_EQ(settings.target.TargetFolder, "");
  EXPECT_EQ(settings.target.TargetFilespec, "");
  EXPECT_EQ(window.setupFilename, "");

  settings.dateRestriction.Clear();
  OpenPanel();
  Click("cmdRestoreSetup");
  ExpectClosed();
  EXPECT_EQ(settings.target.TargetFolder, "/home/anna/Documents/");
  EXPECT_EQ(settings.target.TargetFilespec, "*.doc");
  EXPECT_EQ(settings.dateRestriction.lngOnlyBeforeThisJDN, 2453371);
  EXPECT_EQ(window.dateLabelUpdates, 1);
}

}  // namespace
