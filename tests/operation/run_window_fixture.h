#pragma once

#include <gtest/gtest.h>

#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "engine/file_purge.h"
#include "gui_support/fake_main_window.h"
#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/report_window.h"
#include "operation/run_controller_window.h"
#include "support/scoped_locale_format.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/time_zone_guard.h"
#include "ui/twips.h"

namespace TestSupport {

// Holds the worker at its first yield inside a file's purge until the test opens the gate, so
// that a test can press buttons while a purge pass is on.
class GatedPurgeHost final : public FilePurge::PurgeHost {
 public:
  ~GatedPurgeHost() override { Open(); }
  void Yield() override {
    std::unique_lock<std::mutex> lock(mutex_);
    entered_ = true;
    opened_.wait(lock, [this] { return open_; });
  }
  void Open() {
    const std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }
  bool Entered() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return entered_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool entered_ = false;
  bool open_ = false;
};

// A main window that keeps every caption its labels were given.
class RecordingMainWindow final : public FakeMainWindow {
 public:
  void SetCaption(const std::string& label, const std::string& caption) override {
    FakeMainWindow::SetCaption(label, caption);
    captionHistory.push_back(label + "=" + caption);
  }
  std::vector<std::string> captionHistory;
};

// Purges and listings of a temporary folder through the run controller, in English at a fixed
// time (2026-12-06 10:30:00 UTC), with type 1 and one pass.
class RunWindowTest : public ::testing::Test {
 protected:
  RunWindowTest() {
    settings.purgeType.SetPurgeType(1);
    settings.purgeType.SelectIndex(1, 0);
    settings.options.blnDeleteEmptyFolders = false;
    controller.Run().clock = [] { return std::time_t{1796553000}; };
    controller.Run().Environment().deleteRetry.sleep = [](int) {};
    main.show();
  }

  void Target(const std::string& filespec, bool subfolders = false) {
    settings.target = {folder.Path(), filespec, subfolders};
  }

  // What frmPurgeConfirmation does when the user presses cmdDoPurge (or cmdCancel): file names
  // shown, each file confirmed when confirmEachFile is set.
  bool Confirm(PurgeConfirmationState& state, const PurgeConfirmationTexts& texts, int files,
               bool subfolders) {
    state.Show(settings.options, texts, subfolders, files, 4096);
    confirmationMessages.push_back(texts.element[1]);
    state.SetTicked(PurgeConfirmationState::Box::chkFolderNamesOnly, false);
    state.SetTicked(PurgeConfirmationState::Box::chkConfirmFiles, confirmEachFile);
    if (!doPurge) {
      state.Cancel(settings.options);
      return false;
    }
    state.DoPurge(settings.options, settings.blnConfirmFiles, settings.clusterSizes,
                  folder.Path());
    if (afterConfirmation) afterConfirmation();
    return true;
  }

  void WaitForTheEnd() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !controller.Running(); }, 30000));
  }

  frmReport& Report() { return *controller.ReportWindow(); }
  QPushButton* Button(const char* name) { return Report().findChild<QPushButton*>(name); }
  std::string Status() {
    return Report().findChild<QLabel*>("lblPausedDone")->text().toStdString();
  }
  std::string Shown() {
    return Report().findChild<QPlainTextEdit*>("txbText")->toPlainText().toStdString();
  }
  static std::string Clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }
  // How many of the named files of the folder are still there.
  int FilesLeft(std::initializer_list<const char*> names) {
    int left = 0;
    for (const char* name : names) left += std::filesystem::exists(folder / name) ? 1 : 0;
    return left;
  }
  int Pixels(int twips) { return Twips::ToPixels(twips, &Report()); }

  static constexpr const char* kDateLine = "12/06/2026, 10:30:00\r\n";

  TimeZoneGuard zone{"UTC"};
  ScopedLocaleFormat locale{StrProc::LocaleFormat::English()};
  TempFolder folder;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  RecordingMainWindow main;
  bool doPurge = true;
  bool confirmEachFile = false;
  std::function<void()> afterConfirmation;
  std::vector<std::string> confirmationMessages;
  RunController::ConfirmPurge confirm = [this](PurgeConfirmationState& state,
                                               const PurgeConfirmationTexts& texts, int files,
                                               bool subfolders) {
    return Confirm(state, texts, files, subfolders);
  };
  RunController controller{settings, dialogs, main, confirm};
};

}  // namespace TestSupport
