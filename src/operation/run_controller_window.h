#pragma once

// The purge and the listing as the main window's process buttons start them: the checks and
// questions before a run, the confirmation dialog, the report window, the run on a worker thread
// and what follows it. The main window stays responsive throughout; its commands are not offered
// while a run is on.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "operation/purge_confirmation.h"
#include "operation/run_host.h"
#include "operation/run_request.h"
#include "operation/run_start.h"

class MainWindowServices;
class PurgeConfirmationState;
class PurgeRun;
class RunWindowDialogs;
class RunWindowHost;
class UserDialogs;
class frmConfirmFiles;
class frmReport;
struct ProgramSettings;

class RunController : public QObject {
  Q_OBJECT

 public:
  // Shows frmPurgeConfirmation for the counted files and answers whether the purge was
  // confirmed (the dialog's buttons set the options of the run).
  using ConfirmPurge =
      std::function<bool(PurgeConfirmationState& state, const PurgeConfirmationTexts& texts,
                         int filesInFolder, bool subfolders)>;

  RunController(ProgramSettings& settings, UserDialogs& dialogs, MainWindowServices& main,
                ConfirmPurge confirmPurge, QObject* parent = nullptr);
  // A run still on is stopped, and its thread is waited for.
  ~RunController() override;

  // "Purge files" (cmdProcessFiles_1).
  void PurgeFiles();
  // "List and estimate time" (cmdProcessFiles_2).
  void ListAndEstimate();
  // "Purge free space" (cmdPurgeFreeSpace): a folder on the drive is chosen (the target folder
  // first), the question shows the drive, its free space, the type of purge and the estimated
  // time, and the purge runs in the report window with Stop and Pause.
  void PurgeFreeSpace();
  // The Report button: shows the report window again when it holds a report; false when there is
  // nothing to report.
  bool ShowReport();

  bool Running() const { return running_; }
  frmReport* ReportWindow() const { return report_; }
  PurgeRun& Run() { return *run_; }

 signals:
  // A run has ended and everything after it is done.
  void runFinished();

 private:
  // What the count before a purge found, on the worker thread.
  struct PreparedPurge {
    PreparedPurge(ProgramSettings& settings, UserDialogs& dialogs) : starter(settings, dialogs) {}
    RunStarter starter;
    std::optional<std::int32_t> count;
    std::int32_t filesInFolder = 0;
  };

  // On the window's thread: the main window's status while the files are counted ("" when the
  // count has returned).
  void ShowCountStatus(const std::string& status);
  void ShowCountWindow();
  void CountEnded(PreparedPurge& prepared);
  void PlaceReportWindow();
  void StartRun(const RunRequest& request, const std::string& caption);
  void RunEnded();
  FileConfirmation ConfirmFileOnWindowThread(const std::string& label);

  ProgramSettings& settings_;
  UserDialogs& dialogs_;
  MainWindowServices& main_;
  ConfirmPurge confirmPurge_;
  std::unique_ptr<RunWindowHost> host_;
  std::unique_ptr<RunWindowDialogs> runDialogs_;
  std::unique_ptr<PurgeRun> run_;
  QPointer<frmReport> report_;
  QPointer<frmConfirmFiles> confirmFiles_;
  QTimer countWindowTimer_;
  // From the start of a purge's count to the end of its run, or of a listing's run.
  bool running_ = false;
  std::atomic<bool> workDone_{true};
};
