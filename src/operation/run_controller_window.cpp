#include "operation/run_controller_window.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

#include "operation/confirm_files_window.h"
#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/report_window.h"
#include "operation/run_start.h"
#include "operation/run_host_window.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "targets/target_record.h"
#include "ui/main_window_services.h"
#include "ui/twips.h"
#include "ui/worker_bridge.h"

namespace {

// Where the report window is shown: at the main window's left edge, this far below its top, and
// this wide (twips).
constexpr int kReportBelowMainTop = 425;
constexpr int kReportWidth = 5700;

}  // namespace

RunController::RunController(ProgramSettings& settings, UserDialogs& dialogs,
                             MainWindowServices& main, ConfirmPurge confirmPurge, QObject* parent)
    : QObject(parent),
      settings_(settings),
      dialogs_(dialogs),
      main_(main),
      confirmPurge_(std::move(confirmPurge)) {
  host_ = std::make_unique<RunWindowHost>(
      [this](const std::string& label) { return ConfirmFileOnWindowThread(label); });
  runDialogs_ = std::make_unique<RunWindowDialogs>(dialogs_, host_.get(), *host_);
  run_ = std::make_unique<PurgeRun>(settings_, *runDialogs_, *host_);
  host_->SetRun(run_.get());
  report_ = new frmReport(main_.Window());
  connect(
      host_.get(), &RunWindowHost::reportChanged, this,
      [this] {
        if (report_) report_->ShowReportText(host_->TakeReport());
      },
      Qt::QueuedConnection);
  connect(
      host_.get(), &RunWindowHost::captionChanged, this,
      [this](const QString& caption) {
        if (report_) report_->setWindowTitle(caption);
      },
      Qt::QueuedConnection);
}

RunController::~RunController() {
  if (workDone_) return;
  // The run stops at its next poll point, between two passes; the questions it may still ask are
  // answered without being shown.
  host_->SetClosing();
  run_->StopButton();
  while (!workDone_) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

void RunController::PurgeFiles() {
  if (running_) return;
  RunStarter starter(settings_, dialogs_);
  if (!starter.CheckTarget()) {
    main_.RefreshTargetDisplay();
    return;
  }
  main_.SetRunning(true);
  const std::optional<std::int32_t> count =
      starter.PreparePurge(*run_, [this](const std::string& status) {
        main_.SetCaption("lblLargePurgeMessage", status);
        if (QWidget* window = main_.Window()) window->repaint();
      });
  if (!count) {
    main_.SetRunning(false);
    return;
  }
  const bool confirmed =
      confirmPurge_ &&
      confirmPurge_(settings_.confirmation, starter.ConfirmationTexts(*count, starter.HardLinkedCount()),
                    starter.FilesInTargetFolder(), settings_.target.blnSubdirectories);
  if (!confirmed) {
    starter.TellCancelled();
    main_.SetRunning(false);
    return;
  }
  StartRun(starter.RequestForTarget(RunKind::Purge), "Purge files");
}

void RunController::ListAndEstimate() {
  if (running_) return;
  RunStarter starter(settings_, dialogs_);
  if (!starter.CheckTarget()) {
    main_.RefreshTargetDisplay();
    return;
  }
  RunRequest listing = starter.RequestForTarget(RunKind::List);
  if (!starter.PrepareListing() || !starter.ChooseListingDisplay(listing)) return;
  main_.ClearEstimate();
  StartRun(listing, starter.ListingCaption(listing));
}

bool RunController::ShowReport() {
  return report_ && report_->ShowLastReport();
}

void RunController::StartRun(const RunRequest& request, const std::string& caption) {
  main_.SetRunning(true);
  report_->BeginRun(*run_, request);
  report_->setWindowTitle(QString::fromStdString(caption));
  if (QWidget* window = main_.Window()) {
    const QRect mainFrame = window->frameGeometry();
    report_->move(mainFrame.x(), mainFrame.y() + Twips::ToPixels(kReportBelowMainTop, window));
    report_->resize(Twips::ToPixels(kReportWidth, window), report_->height());
  }
  report_->show();
  report_->raise();
  host_->TakeReport();
  running_ = true;
  workDone_ = false;
  RunOnWorkerThread(
      this,
      [this, request] {
        run_->ProcessFiles(request);
        workDone_ = true;
      },
      [this] { RunEnded(); });
}

void RunController::RunEnded() {
  running_ = false;
  if (host_->Closing()) return;
  if (report_) report_->EndRun();
  main_.SetLastReport(run_->Report());
  const bool purge = run_->Request().kind == RunKind::Purge;
  if (!purge) main_.SetCaption("lblEstimatedTime", run_->EstimatedTimeCaption);
  main_.SetRunning(false);
  // A listing that went through the whole target without finding a file says so.
  if (!purge && run_->lngNumFilesProcessed == 0 && run_->Status() != RunStatus::Stopped)
    ShowNoFilesFound(dialogs_);
  // A target folder that is gone (removed while the run was being confirmed) is not offered for
  // deletion.
  if (purge && Platform::FolderExists(WithTrailingSeparator(settings_.target.TargetFolder)))
    RunStarter(settings_, dialogs_).OfferToDeleteEmptyFolder();
  emit runFinished();
}

FileConfirmation RunController::ConfirmFileOnWindowThread(const std::string& label) {
  if (!report_) return FileConfirmation::Stop;
  if (!confirmFiles_) confirmFiles_ = new frmConfirmFiles(report_);
  report_->HideRunButtons();
  const FileConfirmation answer = confirmFiles_->Ask(label, report_);
  if (answer == FileConfirmation::Stop)
    report_->ShowStopped();
  else
    report_->RestoreRunButtons();
  return answer;
}
