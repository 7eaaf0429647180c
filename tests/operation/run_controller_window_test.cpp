#include "operation/run_controller_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <thread>

#include "engine/file_purge.h"
#include "gui_support/fake_main_window.h"
#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/report_window.h"
#include "support/handle_step_hook.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/qt_user_dialogs.h"
#include "ui/twips.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Holds the worker at its first yield until the test opens the gate, so that a test can press
// buttons while a purge pass is on.
struct GatedPurgeHost final : FilePurge::PurgeHost {
  ~GatedPurgeHost() override { open = true; }
  void Yield() override {
    entered = true;
    while (!open) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  bool WaitUntilEntered() {
    return QTest::qWaitFor([this] { return entered.load(); }, 10000);
  }
  std::atomic<bool> entered{false}, open{false};
};

// Purges and listings of a temporary folder through the run controller, with type 1 and one
// pass. The confirmation is answered as cmdDoPurge answers it.
class RunWindowTest : public ::testing::Test {
 protected:
  RunWindowTest() {
    settings.purgeType.SetPurgeType(1);
    settings.purgeType.SelectIndex(1, 0);
    settings.options.blnDeleteEmptyFolders = false;
    controller.Run().Environment().deleteRetry.sleep = [](int) {};
    main.show();
  }

  void Target(const std::string& filespec, bool subfolders = false) {
    settings.target = {folder.Path(), filespec, subfolders};
  }
  void WriteFiles(std::initializer_list<const char*> names) {
    for (const char* name : names) WriteFile(folder / name, name);
  }
  int FilesLeft(std::initializer_list<const char*> names) {
    int left = 0;
    for (const char* name : names) left += fs::exists(folder / name) ? 1 : 0;
    return left;
  }
  void WaitForTheEnd() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !controller.Running(); }, 30000));
  }
  frmReport& Report() { return *controller.ReportWindow(); }
  QPushButton* Button(const char* name) { return Report().findChild<QPushButton*>(name); }
  bool Shows(const char* name) { return Button(name)->isVisible(); }
  std::string Status() {
    return Report().findChild<QLabel*>("lblPausedDone")->text().toStdString();
  }
  static std::string Clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }
  std::string Asked(std::size_t i) {
    return dialogs.shown.at(i).title + "|" + dialogs.shown[i].text;
  }

  TempFolder folder;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  FakeMainWindow main;
  std::vector<std::string> confirmationMessages;
  RunController::ConfirmPurge confirm = [this](PurgeConfirmationState& state,
                                               const PurgeConfirmationTexts& texts, int files,
                                               bool subfolders) {
    state.Show(settings.options, texts, subfolders, files, 4096);
    confirmationMessages.push_back(texts.element[1]);
    state.SetTicked(PurgeConfirmationState::Box::chkFolderNamesOnly, false);
    state.DoPurge(settings.options, settings.blnConfirmFiles, settings.clusterSizes,
                  folder.Path());
    return true;
  };
  RunController controller{settings, dialogs, main, confirm};
};

}  // namespace

TEST_F(RunWindowTest, APurgeRunsToItsEndAndLeavesTheReportInTheWindowTheClipboardAndTheMain) {
  fs::create_directory(folder / "sub");
  WriteFiles({"a.txt", "b.txt", "sub/c.txt"});
  Target("*.*", true);
  dialogs.Answer(MessageAnswer::No);  // "Delete folder ...?"
  controller.PurgeFiles();
  WaitForTheEnd();

  EXPECT_TRUE(Contains(confirmationMessages.at(0), "these three files."));
  const std::string report = controller.Run().Report();
  EXPECT_EQ(Report().findChild<QPlainTextEdit*>("txbText")->toPlainText(),
            ToDisplayText(report));
  EXPECT_EQ(Clipboard(), report);
  EXPECT_EQ(main.lastReport, report);
  EXPECT_EQ(Status(), "Done");
  EXPECT_EQ(FilesLeft({"a.txt", "b.txt", "sub"}), 0);
  EXPECT_TRUE(main.fraMenu->isEnabled() && Shows("cmdClose") && Shows("cmdCopyToClipboard"));
  EXPECT_FALSE(Shows("cmdPauseContinue"));
}

TEST_F(RunWindowTest, AListingIsCaptionedWithItsPatternAndOneThatFindsNoFileSaysSo) {
  WriteFile(folder / "a.txt", "new");
  Target("*.txt");
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2453431;  // 1 March 2005: a.txt is later
  controller.ListAndEstimate();
  EXPECT_EQ(Report().windowTitle().toStdString(), "List files *.txt");
  EXPECT_EQ(Button("cmdPauseContinue")->text().toStdString(), "Pause");
  WaitForTheEnd();
  EXPECT_EQ(Asked(0), "No files found|There are no files satisfying this file specification");
  EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(RunWindowTest, PauseHoldsThePurgeAfterItsPassAndStopEndsItThere) {
  WriteFiles({"a.txt", "b.txt", "c.txt"});
  Target("*.txt");
  GatedPurgeHost gate;
  controller.Run().Environment().host = &gate;
  controller.PurgeFiles();
  ASSERT_TRUE(gate.WaitUntilEntered());

  QPushButton* pause = Button("cmdPauseContinue");
  EXPECT_FALSE(Shows("cmdStop"));
  EXPECT_EQ(pause->text().toStdString(), "Pause at next purge");
  QTest::mouseClick(pause, Qt::LeftButton);
  EXPECT_EQ(pause->text().toStdString(), "Continue");
  EXPECT_EQ(Status(), "Paused");
  ASSERT_TRUE(Shows("cmdStop"));
  QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
  // The pass under way is still being written: the window says so, and Close waits for it.
  EXPECT_EQ(Status(), "Stopping ...");
  EXPECT_FALSE(Shows("cmdStop") || Shows("cmdPauseContinue") || Button("cmdClose")->isEnabled());
  gate.open = true;
  WaitForTheEnd();

  EXPECT_EQ(FilesLeft({"a.txt", "b.txt", "c.txt"}), 2);
  const std::string report = controller.Run().Report();
  EXPECT_TRUE(Contains(report, "Number of files: 1\r\nPurge operation was stopped.\r\n"));
  EXPECT_EQ(Status(), "Stopped");
  EXPECT_EQ(Clipboard(), report);
  QTest::mouseClick(Button("cmdClose"), Qt::LeftButton);
  EXPECT_FALSE(Report().isVisible());
}

TEST_F(RunWindowTest, StopWhileTheFilesAreCountedCancelsThePurge) {
  fs::create_directory(folder / "sub");
  WriteFiles({"a.txt", "sub/b.txt"});
  Target("*.txt", true);
  GatedPurgeHost gate;
  StepTrap trap(Platform::HandleStep::BeforeOpenSubfolder, 1,
                [&](const std::string&) { gate.Yield(); });
  controller.PurgeFiles();
  ASSERT_TRUE(gate.WaitUntilEntered());

  // The count is held in its walk; the report window offers Stop alone.
  ASSERT_TRUE(QTest::qWaitFor([&] { return Report().isVisible(); }, 10000));
  EXPECT_EQ(main.captions["lblLargePurgeMessage"], "Now counting files ...");
  EXPECT_EQ(Report().windowTitle().toStdString(), "Purge files");
  ASSERT_TRUE(Shows("cmdStop") && Button("cmdStop")->isEnabled());
  EXPECT_FALSE(Shows("cmdPauseContinue") || Shows("cmdClose"));
  QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
  EXPECT_EQ(Status(), "Stopping ...");
  gate.open = true;
  WaitForTheEnd();

  EXPECT_TRUE(confirmationMessages.empty());
  EXPECT_EQ(Asked(0), "Purge cancelled|No files purged.");
  EXPECT_EQ(FilesLeft({"a.txt", "sub/b.txt"}), 2);
  EXPECT_FALSE(Report().isVisible() || main.running);
  EXPECT_EQ(main.captions["lblLargePurgeMessage"], "");
  EXPECT_FALSE(controller.ShowReport());
}

TEST_F(RunWindowTest, ClosingTheProgramDuringARunStopsItAtItsNextPollAndWaitsForIt) {
  WriteFiles({"a.txt", "b.txt", "c.txt"});
  Target("*.txt");
  auto closing = std::make_unique<RunController>(settings, dialogs, main, confirm);
  GatedPurgeHost gate;
  closing->Run().Environment().host = &gate;
  closing->PurgeFiles();
  ASSERT_TRUE(gate.WaitUntilEntered());
  gate.open = true;
  closing.reset();
  // The pass under way ended; nothing else was purged and nothing was asked.
  EXPECT_EQ(FilesLeft({"a.txt", "b.txt", "c.txt"}), 2);
  EXPECT_TRUE(dialogs.shown.empty());
}

