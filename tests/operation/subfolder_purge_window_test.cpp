#include "operation/subfolder_purge_window.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

#include "gui_support/fake_main_window.h"
#include "operation/program_settings.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using TestSupport::ReadFile;
using TestSupport::Repeat;
using TestSupport::WriteFile;

namespace {

// Records every progress text, and presses F10 once the purge of the first file has begun.
class RecordingMainWindow : public TestSupport::FakeMainWindow {
 public:
  void SetCaption(const std::string& label, const std::string& caption) override {
    FakeMainWindow::SetCaption(label, caption);
    if (label != "lblPurgeFoldersMessage") return;
    progress.push_back(caption);
    if (onPurging && caption.find("Now purging") != std::string::npos)
      std::exchange(onPurging, {})();
  }
  std::vector<std::string> progress;
  std::function<void()> onPurging;
};

class SubfolderPurgeWindowTest : public ::testing::Test {
 protected:
  SubfolderPurgeWindowTest() {
    settings.purgeType.SetPurgeType(0);
    settings.purgeType.SelectIndex(0, 0);
    std::filesystem::create_directories(folder / "keep");
    WriteFile(folder / "own.txt", "the parent's own file");
    WriteFile(folder / "keep/k.txt", "not selected");
  }

  // Scripts the way to the summary: the opening question, the chooser and the summary's OK.
  void ScriptUpToThePurge() {
    dialogs.Answer(MessageAnswer::Yes);
    dialogs.Choose(folder.Path());
    dialogs.Answer(MessageAnswer::OK);
  }

  SubfolderPurge::SelectSubfolders Selecting(std::vector<std::string> names) {
    return [this, names](const std::string& parent, const std::string& caption) {
      selectionCaption = caption;
      SubfolderPurgeFlow::Selection selection;
      for (const std::string& name : names) selection.paths.push_back(parent + name);
      selection.totalSize = 100;
      return std::optional(selection);
    };
  }

  bool RunToTheEnd(SubfolderPurge& purge) {
    QSignalSpy finished(&purge, &SubfolderPurge::finished);
    purge.cmdSpecifyDirectory1_MouseUp();
    return finished.count() == 1 || finished.wait(30000);
  }

  TestSupport::TempFolder folder;
  ProgramSettings settings;
  TestSupport::ScriptedDialogs dialogs;
  RecordingMainWindow main;
  std::string selectionCaption;
};

}  // namespace

TEST_F(SubfolderPurgeWindowTest, TheSelectedTreeIsPurgedWithItsProgressShownAndTheRestKept) {
  std::filesystem::create_directories(folder / "sel/deep");
  WriteFile(folder / "sel/a.bin", Repeat('a', 5000));
  WriteFile(folder / "sel/deep/b.bin", Repeat('b', 3000));
  ScriptUpToThePurge();
  SubfolderPurge purge(settings, dialogs, main, Selecting({"sel"}));
  std::string warnedFolder;
  purge.volumeWarnings = [&](const std::string& parent) {
    warnedFolder = parent;
    return std::vector<std::string>{"First warning.", "Second warning."};
  };

  ASSERT_TRUE(RunToTheEnd(purge));

  EXPECT_TRUE(dialogs.AllAnswered());
  EXPECT_EQ(selectionCaption, "Select subfolders of " + folder.Path() + " to be purged.");
  ASSERT_GE(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].defaultButton, MessageAnswer::Cancel);
  EXPECT_EQ(dialogs.shown[1].buttons, MessageButtons::OKCancel);
  const std::string& last = dialogs.shown[1].text;
  EXPECT_EQ(last.substr(last.find("\r\n\r\nFirst")), "\r\n\r\nFirst warning.\r\nSecond warning.")
      << "the summary question ends with the drive's warnings";
  EXPECT_EQ(warnedFolder, folder.Path());
  EXPECT_EQ(main.progress.front(), "Files to purge: 1");
  EXPECT_NE(std::find(main.progress.begin(), main.progress.end(), "Files to purge: 2"),
            main.progress.end());
  EXPECT_NE(
      std::find_if(main.progress.begin(), main.progress.end(),
                   [](const std::string& text) { return text.rfind("Now purging:\r\n", 0) == 0; }),
      main.progress.end());
  EXPECT_FALSE(std::filesystem::exists(folder / "sel"));
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path()));
  EXPECT_EQ(ReadFile(folder / "own.txt"), "the parent's own file");
  EXPECT_EQ(ReadFile(folder / "keep/k.txt"), "not selected");
  EXPECT_FALSE(main.running);
  EXPECT_TRUE(main.infoLabelsShown);
  EXPECT_FALSE(purge.Purging());
}

TEST_F(SubfolderPurgeWindowTest, InterruptThenCancelStopsThePurgeAndLeavesTheLaterFilesUntouched) {
  std::filesystem::create_directories(folder / "sel");
  const std::string content = Repeat('x', 1 << 20);
  for (int i = 0; i < 30; ++i) WriteFile(folder / ("sel/f" + std::to_string(i)), content);
  ScriptUpToThePurge();
  dialogs.Answer(MessageAnswer::Cancel);  // the interruption question
  SubfolderPurge purge(settings, dialogs, main, Selecting({"sel"}));
  main.onPurging = [&purge] { purge.Interrupt(); };

  ASSERT_TRUE(RunToTheEnd(purge));

  EXPECT_TRUE(dialogs.AllAnswered());
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_NE(dialogs.shown[2].text.find(
                "Click 'OK' to continue, or 'Cancel' to terminate this operation."),
            std::string::npos);
  EXPECT_EQ(main.captions["lblPurgeFoldersMessage"], "");
  int left = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "sel")) {
    EXPECT_EQ(ReadFile(entry.path().string()), content) << entry.path();
    ++left;
  }
  EXPECT_GT(left, 0);
  EXPECT_LT(left, 30);
  EXPECT_FALSE(main.running);
}

TEST_F(SubfolderPurgeWindowTest, AnEmptySelectionIsToldAndNothingRuns) {
  dialogs.Answer(MessageAnswer::Yes);
  dialogs.Choose(folder.Path());
  SubfolderPurge purge(settings, dialogs, main, Selecting({}));

  ASSERT_TRUE(RunToTheEnd(purge));

  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].text, "No subolders were selected.");
  EXPECT_EQ(dialogs.shown[1].title, "Purge folders");
  EXPECT_EQ(ReadFile(folder / "keep/k.txt"), "not selected");
  EXPECT_TRUE(main.progress.empty());
}
