#include "operation/run_controller_window.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

#include "engine/purge_type_texts.h"
#include "operation/confirm_files_window.h"
#include "operation/free_space_texts.h"
#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/report_window.h"
#include "operation/result_texts.h"
#include "operation/run_host_window.h"
#include "operation/run_start.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "setups/fill_folders.h"
#include "targets/target_record.h"
#include "ui/main_window_services.h"
#include "ui/twips.h"
#include "ui/worker_bridge.h"

namespace {

// Where the report window is shown: at the main window's left edge, this far below its top, and
// this wide (twips).
constexpr int kReportBelowMainTop = 425;
constexpr int kReportWidth = 5700;
// A count that takes longer than this (milliseconds) shows the report window with its Stop.
constexpr int kCountWindowDelay = 400;

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
  countWindowTimer_.setSingleShot(true);
  countWindowTimer_.setInterval(kCountWindowDelay);
  connect(&countWindowTimer_, &QTimer::timeout, this, [this] { ShowCountWindow(); });
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
  running_ = true;
  workDone_ = false;
  // The files are counted on the worker thread, as a large or slow tree may take long; its
  // messages are shown on this thread. The report window offers Stop when the count is not over
  // at once.
  run_->blnStop = false;
  auto prepared = std::make_shared<PreparedPurge>(settings_, *runDialogs_);
  RunOnWorkerThread(
      this,
      [this, prepared] {
        prepared->count = prepared->starter.PreparePurge(*run_, [this](const std::string& status) {
          CallOnThreadOf(this, [this, &status] { ShowCountStatus(status); });
        });
        if (prepared->count) prepared->filesInFolder = prepared->starter.FilesInTargetFolder();
        workDone_ = true;
      },
      [this, prepared] { CountEnded(*prepared); });
}

void RunController::ShowCountStatus(const std::string& status) {
  if (host_->Closing()) return;
  main_.SetCaption("lblLargePurgeMessage", status);
  if (!status.empty()) {
    countWindowTimer_.start();
    return;
  }
  // The count has returned.
  countWindowTimer_.stop();
  if (report_) report_->EndCount();
}

void RunController::ShowCountWindow() {
  if (!report_ || host_->Closing()) return;
  report_->BeginCount(*run_);
  report_->setWindowTitle(QStringLiteral("Purge files"));
  PlaceReportWindow();
  report_->show();
  report_->raise();
}

void RunController::CountEnded(PreparedPurge& prepared) {
  countWindowTimer_.stop();
  if (host_->Closing()) return;
  if (report_) report_->EndCount();
  if (!prepared.count) {
    running_ = false;
    if (run_->blnStop) RunStarter(settings_, dialogs_).TellCancelled();
    main_.SetRunning(false);
    return;
  }
  RunStarter starter(settings_, dialogs_);
  const bool confirmed =
      confirmPurge_ &&
      confirmPurge_(settings_.confirmation,
                    starter.ConfirmationTexts(*prepared.count, prepared.starter.HardLinkedCount()),
                    prepared.filesInFolder, settings_.target.blnSubdirectories);
  if (!confirmed) {
    running_ = false;
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

void RunController::PurgeFreeSpace() {
  if (running_) return;
  const std::string target = settings_.target.TargetFolder;
  const std::optional<std::string> chosen =
      dialogs_.ChooseFolder({"Purge the free space of the drive that holds which folder?",
                             Platform::FolderExists(target) ? target : std::string(),
                             {},
                             {}});
  if (!chosen) return;
  const std::string folder = WithTrailingSeparator(Platform::AbsolutePath(*chosen));
  Platform::DriveInfo drive;
  Platform::DriveSpace space;
  std::error_code error = Platform::DriveOfPath(JoinPath(folder, "x"), drive);
  if (!error) error = Platform::QueryFolderSpace(folder, space);
  if (error) {
    dialogs_.Tell(
        kPurgeFreeSpaceCaption,
        "The free space of the drive of " + folder + " cannot be read (" + ReasonText(error) + ").",
        MessageIcon::Exclamation);
    return;
  }
  const float speed = settings_.purgeSpeeds.Speed(drive.root);
  const PurgeTypeChoice& choice = settings_.purgeType;
  const std::string question =
      FreeSpaceQuestion(FreeSpaceDriveName(drive.root, drive.fileSystem),
                        static_cast<double>(space.availableBytes), TypeOfPurgeDescription(choice),
                        choice.GetNumOverwrites(),
                        speed > 0 ? std::optional<float>(speed) : std::nullopt,
                        FreeSpaceWarningsForPath(folder)) +
      "\r\n\r\n" + kFreeSpaceQuestionEnd;
  if (dialogs_.ShowMessage({kPurgeFreeSpaceCaption, question, MessageIcon::Question,
                            MessageButtons::YesNo, MessageAnswer::No}) != MessageAnswer::Yes) {
    dialogs_.Tell("Purge cancelled", kFreeSpaceCancelled, MessageIcon::Information);
    return;
  }
  run_->noteFillFolder = [](const std::string& fillFolder, bool made) {
    NoteFillFolder(fillFolder, made);
  };
  RunRequest request;
  request.kind = RunKind::FreeSpace;
  request.targetFolder = folder;
  StartRun(request, kPurgeFreeSpaceCaption);
}

bool RunController::ShowReport() {
  return report_ && report_->ShowLastReport();
}

void RunController::StartRun(const RunRequest& request, const std::string& caption) {
  main_.SetRunning(true);
  report_->BeginRun(*run_, request);
  report_->setWindowTitle(QString::fromStdString(caption));
  PlaceReportWindow();
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

void RunController::PlaceReportWindow() {
  if (QWidget* window = main_.Window()) {
    const QRect mainFrame = window->frameGeometry();
    report_->move(mainFrame.x(), mainFrame.y() + Twips::ToPixels(kReportBelowMainTop, window));
    report_->resize(Twips::ToPixels(kReportWidth, window), report_->height());
  }
}

void RunController::RunEnded() {
  running_ = false;
  if (host_->Closing()) return;
  if (report_) report_->EndRun();
  main_.SetLastReport(run_->Report());
  const RunKind kind = run_->Request().kind;
  const bool purge = kind == RunKind::Purge;
  if (kind == RunKind::List) main_.SetCaption("lblEstimatedTime", run_->EstimatedTimeCaption);
  main_.SetRunning(false);
  // A listing that went through the whole target without finding a file says so.
  if (kind == RunKind::List && run_->lngNumFilesProcessed == 0 &&
      run_->Status() != RunStatus::Stopped)
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
    report_->ShowStopping();
  else
    report_->RestoreRunButtons();
  return answer;
}
