#include "operation/run_controller_window.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
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

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

// Holds the worker at its first yield until the test opens the gate, so that a test can press
// buttons while a purge pass is on.
struct GatedPurgeHost final : FilePurge::PurgeHost {
  ~GatedPurgeHost() override { open = true; }
  void Yield() override {
    entered = true;
    while (!open) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  bool WaitUntilEntered() { return QTest::qWaitFor([this] { return entered.load(); }, 10000); }
  std::atomic<bool> entered{false}, open{false};
};

// Purges and listings of a temporary folder through the run controller, with type 1 and one
// pass. The confirmation is answered as cmdDoPurge answers it.
class RunWindowTest : public ::testing::Test {
 protected:
  RunWindowTest() {
    settings.purgeType.SetPurgeType(1);
    settings.purgeType.SelectIndex(1, 0);
    main.show();
  }

  // Writes the files (in "sub" too when subfolders are included) and makes them the target.
  void Target(const char* filespec, bool subfolders, std::initializer_list<const char*> names) {
    if (subfolders) fs::create_directory(folder / "sub");
    for (const char* name : names) WriteFile(folder / name, name);
    settings.target = {folder.Path(), filespec, subfolders};
  }
  void WaitForTheEnd() { ASSERT_TRUE(QTest::qWaitFor([this] { return !controller.Running(); }, 30000)); }
  frmReport& Report() { return *controller.ReportWindow(); }
  QPushButton* Button(const char* name) { return Report().findChild<QPushButton*>(name); }
  bool Shows(const char* name) { return Button(name)->isVisible(); }
  std::string Status() { return Report().findChild<QLabel*>("lblPausedDone")->text().toStdString(); }

  TempFolder folder;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  FakeMainWindow main;
  RunController::ConfirmPurge confirm = [this](auto& state, const auto& texts, int files, bool subfolders) {
    state.Show(settings.options, texts, subfolders, files, 4096);
    state.DoPurge(settings.options, settings.blnConfirmFiles, settings.clusterSizes, folder.Path());
    return true;
  };
  RunController controller{settings, dialogs, main, confirm};
};

}  // namespace

TEST_F(RunWindowTest, APurgeRunsToItsEndAndLeavesTheReportInTheWindowTheClipboardAndTheMain) {
  Target("*.*", true, {"a.txt", "b.txt", "sub/c.txt"});
  dialogs.Answer(MessageAnswer::No);  // "Delete folder ...?"
  controller.PurgeFiles();
  WaitForTheEnd();
  const std::string report = controller.Run().Report();
  EXPECT_EQ(Report().findChild<QPlainTextEdit*>("txbText")->toPlainText(), ToDisplayText(report));
  EXPECT_TRUE(QGuiApplication::clipboard()->text().toStdString() == report && main.lastReport == report);
  EXPECT_TRUE(Status() == "Done" && fs::is_empty(folder.Path()));
  EXPECT_TRUE(main.fraMenu->isEnabled() && Shows("cmdClose") && !Shows("cmdPauseContinue"));
}

// Stop while the files are counted cancels the purge; in the next purge, Pause holds it after its
// pass and Stop ends it there.
TEST_F(RunWindowTest, StopDuringTheCountCancelsThePurgeAndPauseHoldsItAfterItsPass) {
  Target("*.txt", true, {"a.txt", "b.txt", "sub/c.txt"});
  GatedPurgeHost countGate, passGate;
  StepTrap trap(Platform::HandleStep::BeforeOpenSubfolder, 1, [&](const std::string&) { countGate.Yield(); });
  controller.PurgeFiles();
  ASSERT_TRUE(countGate.WaitUntilEntered());
  // The count is held in its walk; the report window offers Stop alone.
  ASSERT_TRUE(QTest::qWaitFor([&] { return Report().isVisible(); }, 10000));
  EXPECT_EQ(main.captions["lblLargePurgeMessage"], "Now counting files ...");
  ASSERT_TRUE(Shows("cmdStop") && !Shows("cmdClose"));
  QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
  countGate.open = true;
  WaitForTheEnd();
  EXPECT_EQ(dialogs.shown.at(0).text, "No files purged.");
  EXPECT_FALSE(Report().isVisible() || main.running);

  controller.Run().Environment().host = &passGate;
  controller.PurgeFiles();
  ASSERT_TRUE(passGate.WaitUntilEntered());
  QTest::mouseClick(Button("cmdPauseContinue"), Qt::LeftButton);
  EXPECT_EQ(Button("cmdPauseContinue")->text().toStdString() + "|" + Status(), "Continue|Paused");
  EXPECT_FALSE(Report().close()) << "no window closes while its run goes on";
  QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
  // The pass under way is still being written: the window says so, and Close waits for it.
  EXPECT_EQ(Status(), "Stopping ...");
  EXPECT_FALSE(Shows("cmdPauseContinue") || Button("cmdClose")->isEnabled());
  passGate.open = true;
  WaitForTheEnd();
  const auto left = std::distance(fs::directory_iterator(folder.Path()), {});
  EXPECT_EQ(Status() + "|" + std::to_string(left), "Stopped|2");
}
