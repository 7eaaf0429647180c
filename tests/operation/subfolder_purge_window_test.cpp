#include "operation/subfolder_purge_window.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <filesystem>

#include "gui_support/fake_main_window.h"
#include "operation/program_settings.h"
#include "support/file_setup.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace TestSupport;

TEST(SubfolderPurgeWindow, PurgesTheSelectedTreeAfterASummaryEndingWithTheDrivesWarnings) {
  TempFolder folder;
  MakeFolder(folder / "sel");
  WriteFile(folder / "own.txt", "own");
  WriteFile(folder / "sel/a.bin", Repeat('a', 5000));
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  dialogs.Answer(MessageAnswer::Yes);  // the opening question
  dialogs.Choose(folder.Path());
  dialogs.Answer(MessageAnswer::OK);  // the summary
  FakeMainWindow main;
  SubfolderPurge purge(settings, dialogs, main, [](const std::string& parent, auto&) {
    return std::optional(SubfolderPurgeFlow::Selection{{parent + "sel"}, 100, false});
  });
  purge.volumeWarnings = [](const std::string& p) { return std::vector<std::string>{"For " + p, "More."}; };
  QSignalSpy finished(&purge, &SubfolderPurge::finished);
  purge.cmdSpecifyDirectory1_MouseUp();
  ASSERT_TRUE(finished.count() == 1 || finished.wait(30000));

  EXPECT_TRUE(dialogs.shown.at(1).text.ends_with("\r\n\r\nFor " + folder.Path() + "\r\nMore."));
  EXPECT_FALSE(std::filesystem::exists(folder / "sel"));
  EXPECT_EQ(ReadFile(folder / "own.txt"), "own") << "the files above the selection stay";
  EXPECT_TRUE(!purge.Purging() && !main.running && main.infoLabelsShown);
}
