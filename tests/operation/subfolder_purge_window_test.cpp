#include "operation/subfolder_purge_window.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <filesystem>

#include "gui_support/fake_main_window.h"
#include "operation/program_settings.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace TestSupport;

TEST(SubfolderPurgeWindow, PurgesTheSelectedTreeAfterASummaryEndingWithTheDrivesWarnings) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "sel");
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
  purge.volumeWarnings = [](const std::string& parent) {
    return std::vector<std::string>{"Warning for " + parent, "Second warning."};
  };
  QSignalSpy finished(&purge, &SubfolderPurge::finished);
  purge.cmdSpecifyDirectory1_MouseUp();
  ASSERT_TRUE(finished.count() == 1 || finished.wait(30000));

  const std::string& summary = dialogs.shown.at(1).text;
  EXPECT_EQ(summary.substr(summary.find("\r\n\r\nWarning")),
            "\r\n\r\nWarning for " + folder.Path() + "\r\nSecond warning.");
  EXPECT_FALSE(std::filesystem::exists(folder / "sel"));
  EXPECT_EQ(ReadFile(folder / "own.txt"), "own") << "the files above the selection stay";
  EXPECT_TRUE(!purge.Purging() && !main.running && main.infoLabelsShown);
}
