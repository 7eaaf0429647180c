#include "ui/main_window.h"

#include <QDir>

#include <QUrl>

#include <QMimeData>

#include <QDropEvent>

#include <QDragEnterEvent>

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "dates/date_input_dialog.h"
#include "engine/purge_type_texts.h"
#include "engine/speed_test_window.h"
#include "engine/type_of_purge_dialog.h"
#include "operation/program_settings.h"
#include "operation/purge_confirmation_dialog.h"
#include "operation/report_window.h"
#include "operation/run_controller_window.h"
#include "operation/subfolder_purge_window.h"
#include "operation/target_commands.h"
#include "setups/setup_panel_window.h"
#include "targets/folder_queries.h"
#include "targets/select_subfolders_dialog.h"
#include "targets/specify_files_dialog.h"
#include "targets/target_texts.h"
#include "text/program_text.h"
#include "text/user_dialogs.h"
#include "ui/twips.h"
#include "ui/view_window.h"
#include "ui/window_role.h"

namespace {

// How often the date-restriction label is refreshed (the user's date format may change), and
// how long a closed file dialog keeps its mouse release from starting another command.
constexpr int kClock1Milliseconds = 60000;
constexpr int kClock2Milliseconds = 250;

// The prompt of the date dialog: white on the dark blue of the program's dialogs.
constexpr std::uint32_t kPromptBackColor = 0x1F3A93;

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

frmMain::frmMain(ProgramSettings& settings, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), settings_(settings), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmMain"));
  WindowRole::ExposeAsFrame();
  BuildLayout();

  clock1_ = new QTimer(this);
  clock1_->setObjectName(QStringLiteral("Clock1"));
  clock1_->setInterval(kClock1Milliseconds);
  connect(clock1_, &QTimer::timeout, this, [this] {
    if (labels_["lblDateRestriction"]->isVisible()) UpdateDateRestrictionLabel();
  });
  clock2_ = new QTimer(this);
  clock2_->setObjectName(QStringLiteral("Clock2"));
  clock2_->setSingleShot(true);
  clock2_->setInterval(kClock2Milliseconds);
  connect(clock2_, &QTimer::timeout, this, [this] { dialogGuard_ = false; });

  connect(buttons_["cmdTypeOfPurge"], &QPushButton::clicked, this,
          &frmMain::cmdTypeOfPurge_MouseUp);
  connect(buttons_["cmdOnlyBefore"], &QPushButton::clicked, this, &frmMain::cmdOnlyBefore_MouseUp);
  connect(buttons_["cmdReportScreen"], &QPushButton::clicked, this,
          &frmMain::cmdReportScreen_MouseUp);
  connect(buttons_["cmdHelp"], &QPushButton::clicked, this, &frmMain::cmdHelp_MouseUp);
  connect(buttons_["cmdQuit"], &QPushButton::clicked, this, &frmMain::cmdQuit_MouseUp);
  connect(buttons_["cmdSetup"], &QPushButton::clicked, this, [this] {
    if (setupPanels_) setupPanels_->cmdSetup_MouseUp();
  });

  ConnectCommands();

  qApp->installEventFilter(this);
  setAcceptDrops(true);
}

frmMain::~frmMain() {
  qApp->removeEventFilter(this);
}

void frmMain::ConnectCommands() {
  targets_ = std::make_unique<TargetCommands>(*this, settings_, dialogs_);
  connect(buttons_["cmdSingleFile"], &QPushButton::clicked, this,
          [this] { targets_->cmdSingleFile_MouseUp(); });
  connect(buttons_["cmdSpecifyDirectory_0"], &QPushButton::clicked, this,
          [this] { targets_->cmdSpecifyDirectory0_MouseUp(); });
  connect(buttons_["cmdSpecifyFiles_0"], &QPushButton::clicked, this, [this] {
    targets_->cmdSpecifyFiles_MouseUp([this](SpecifyFiles& state) {
      frmSpecifyFiles dialog(state, dialogs_, this);
      const QPoint origin = mapToGlobal(QPoint(0, 0));
      dialog.move(origin.x() + fraMenu_->width() + Twips::ToPixels(250, this),
                  origin.y() + buttons_["cmdSpecifyFiles_0"]->mapTo(this, QPoint(0, 0)).y());
      return dialog.exec() == QDialog::Accepted;
    });
  });
  connect(buttons_["cmdSubdirectories"], &QPushButton::clicked, this,
          [this] { targets_->cmdSubdirectories_MouseUp(); });
  connect(buttons_["cmdClear"], &QPushButton::clicked, this,
          [this] { targets_->cmdClear_Click(); });

  runs_ = new RunController(
      settings_, dialogs_, *this,
      [this](PurgeConfirmationState& state, const PurgeConfirmationTexts& texts, int filesInFolder,
             bool subfolders) {
        return ShowPurgeConfirmation(state, settings_.options, settings_.blnConfirmFiles,
                                     settings_.clusterSizes, settings_.target.TargetFolder, texts,
                                     filesInFolder, subfolders, this);
      },
      this);
  connect(buttons_["cmdProcessFiles_1"], &QPushButton::clicked, runs_, &RunController::PurgeFiles);
  connect(buttons_["cmdProcessFiles_2"], &QPushButton::clicked, runs_,
          &RunController::ListAndEstimate);
  connect(buttons_["cmdPurgeFreeSpace"], &QPushButton::clicked, runs_,
          &RunController::PurgeFreeSpace);

  subfolderPurge_ = new SubfolderPurge(
      settings_, dialogs_, *this,
      [this](const std::string& parent,
             const std::string& caption) -> std::optional<SubfolderPurgeFlow::Selection> {
        SubfolderPurgeFlow::Selection selection;
        std::optional<std::vector<std::string>> paths =
            RunSubfolderSelection(parent, caption, subfolderSelection_, dialogs_, this,
                                  &selection.totalSize, &selection.overLimit);
        if (!paths) return std::nullopt;
        selection.paths = std::move(*paths);
        return selection;
      },
      this);
  connect(buttons_["cmdSpecifyDirectory_1"], &QPushButton::clicked, this,
          [this] { subfolderPurge_->cmdSpecifyDirectory1_MouseUp(); });

  speedTest_ = std::make_unique<SpeedTestButton>(*this, settings_, dialogs_);
  connect(buttons_["cmdTestPurgeSpeed"], &QPushButton::clicked, this,
          [this] { speedTest_->cmdTestPurgeSpeed_MouseUp(); });
}

void frmMain::Startup(const std::string& nextRunSetupPath) {
  blnStartupCompleted = false;
  InitializeSettings(nextRunSetupPath);
  setWindowTitle(ToQString(Language2::GetText(1) + " " + ProgramVersion()));
  LoadNextRunSetup(nextRunSetupPath_, settings_);
  RememberSetup(settings_, remembered_);
  RefreshTargetDisplay();
  RefreshTypeOfPurgeDescription();
  buttons_["cmdSpecifyDirectory_0"]->setFocus();
  labels_["lblDateRestriction"]->setVisible(true);
  blnStartupCompleted = true;
  RefreshSubfolderDisplay();
  UpdateDateRestrictionLabel();
  clock1_->start();
}

void frmMain::InitializeSettings(const std::string& nextRunSetupPath) {
  settings_.dateRestriction.Clear();
  settings_.target = TargetRecord{};
  for (const char* name : {"lblSubdirectories", "lblSubdirectories2", "lblFiles", "lblFiles2",
                           "lblTypeOfPurge", "lblPurgeSpeed", "lblEstimatedTime",
                           "lblLargePurgeMessage", "lblPurgeFoldersMessage", "lblSetupFilename"})
    labels_[name]->clear();
  nextRunSetupPath_ = nextRunSetupPath;
  settings_.purgeType.Initialization();
  settings_.confirmation = PurgeConfirmationState();
  settings_.dblAF_A = 0.917;
  settings_.dblAF_B = 0.2;
  setupPanels_ =
      std::make_unique<SetupPanels>(*this, settings_, dialogs_, remembered_, nextRunSetupPath_);
}

QPushButton* frmMain::Button(const std::string& objectName) {
  const auto found = buttons_.find(objectName);
  return found == buttons_.end() ? nullptr : found->second;
}

QLabel* frmMain::Label(const std::string& objectName) {
  const auto found = labels_.find(objectName);
  return found == labels_.end() ? nullptr : found->second;
}

void frmMain::SetMenuEnabled(bool enabled) {
  fraMenu_->setEnabled(enabled);
}

void frmMain::ShowInfoLabels(bool visible) {
  // lblPurgeFoldersMessage stays: it shows the progress of the folder purge that hides the others.
  for (auto& [name, label] : labels_)
    if (name != "lblPurgeFoldersMessage") label->setVisible(visible);
  buttons_["cmdClear"]->setVisible(visible);
}

void frmMain::RefreshTargetDisplay() {
  const TargetDescription description =
      DescribeTarget(settings_.target, Language2::GetText(4), settings_.random);
  labels_["lblDirectory"]->setText(ToQString(description.folderCaption));
  labels_["lblFiles"]->setText(ToQString(description.filesCaption));
  labels_["lblFiles2"]->setText(ToQString(description.filesExplanation));
  labels_["lblSingleFile"]->setText(ToQString(description.singleFileHint));
  if (description.clearEstimatedTime) ClearEstimate();
  if (description.clearSubfolderLabels) {
    labels_["lblSubdirectories"]->clear();
    labels_["lblSubdirectories2"]->clear();
  }
  if (description.clearDateRestriction) labels_["lblDateRestriction"]->clear();
}

void frmMain::RefreshSubfolderDisplay() {
  const std::int32_t count =
      settings_.target.TargetFolder.empty() ? 0 : CountSubfolders(settings_.target.TargetFolder);
  const SubfolderSetting setting = ShowSubfolderSetting(settings_.target, count);
  labels_["lblSubdirectories"]->setText(ToQString(setting.answer));
  labels_["lblSubdirectories2"]->setText(ToQString(setting.explanation));
}

void frmMain::RefreshTypeOfPurgeDescription() {
  labels_["lblTypeOfPurge"]->setText(ToQString(TypeOfPurgeDescription(settings_.purgeType)));
}

void frmMain::UpdateDateRestrictionLabel() {
  labels_["lblDateRestriction"]->setText(
      ToQString(settings_.dateRestriction.DateRestrictionCaption()));
}

void frmMain::SetSetupFilename(const std::string& caption) {
  labels_["lblSetupFilename"]->setText(ToQString(caption));
}

void frmMain::ShowSetupFilename(bool shown) {
  QLabel* label = labels_["lblSetupFilename"];
  label->setVisible(shown);
  if (shown) label->raise();
}

void frmMain::StartDialogGuard() {
  dialogGuard_ = true;
  clock2_->start();
}

void frmMain::ClearEstimate() {
  labels_["lblEstimatedTime"]->clear();
}

void frmMain::SetCaption(const std::string& labelName, const std::string& caption) {
  if (QLabel* label = Label(labelName)) label->setText(ToQString(caption));
}

void frmMain::SetRunning(bool running) {
  running_ = running;
  SetMenuEnabled(!running);
}

void frmMain::cmdTypeOfPurge_MouseUp() {
  if (running_) return;
  SetMenuEnabled(false);
  frmTypeOfPurge dialog(settings_.purgeType, dialogs_, this);
  const QPoint origin = mapToGlobal(QPoint(0, 0));
  dialog.move(origin.x() + fraMenu_->width() + Twips::ToPixels(250, this),
              origin.y() + buttons_["cmdSpecifyDirectory_0"]->mapTo(this, QPoint(0, 0)).y() +
                  Twips::ToPixels(420, this));
  if (dialog.exec() == QDialog::Accepted) ClearEstimate();
  SetMenuEnabled(true);
  RefreshTypeOfPurgeDescription();
  SetSetupFilename("");
}

void frmMain::cmdOnlyBefore_MouseUp() {
  SetMenuEnabled(false);
  QPushButton* button = buttons_["cmdOnlyBefore"];
  const bool estimateGone =
      OnlyBefore::Run(dateInput_, settings_.dateRestriction, button->text().toStdString(),
                      kPromptBackColor, [this, button](DateInput& state) {
                        frmCEDateInput dialog(state, dialogs_, this);
                        const QPoint origin = mapToGlobal(QPoint(0, 0));
                        dialog.move(origin.x() + fraMenu_->width() +
                                        Twips::ToPixels(OnlyBefore::kRightOfMenuTwips, this),
                                    origin.y() + button->mapTo(this, QPoint(0, 0)).y() +
                                        Twips::ToPixels(OnlyBefore::kBelowButtonTwips, this));
                        dialog.ShowModally();
                      });
  if (estimateGone) ClearEstimate();
  SetMenuEnabled(true);
  UpdateDateRestrictionLabel();
}

void frmMain::cmdReportScreen_MouseUp() {
  if (dialogGuard_) return;
  if (!runs_->ShowReport())
    dialogs_.Tell("Report window", "Nothing to report!", MessageIcon::Information);
}

void frmMain::cmdHelp_MouseUp() {
  if (viewer_ == nullptr) viewer_ = new frmView(this);
  ShowHelp(*viewer_, this);
}

void frmMain::cmdQuit_MouseUp() {
  // The speed test's and the folder purge's workers use the settings until they end; a purge or
  // listing is stopped at its next poll point when its controller goes with the window.
  if (dialogGuard_ || (speedTest_ && speedTest_->Testing()) ||
      (subfolderPurge_ != nullptr && subfolderPurge_->Purging()))
    return;
  quitting_ = true;
  QApplication::closeAllWindows();
  QApplication::quit();
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (quitting_) {
    event->accept();
    return;
  }
  // Closing the window is the Quit command.
  event->ignore();
  cmdQuit_MouseUp();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F10 &&
      isActiveWindow()) {
    // A running folder purge asks at its next poll point whether to go on.
    if (subfolderPurge_ != nullptr) subfolderPurge_->Interrupt();
  } else if (event->type() == QEvent::Enter) {
    // The keyboard focus follows the mouse over the command buttons.
    for (auto& [name, button] : buttons_) {
      if (watched == button && button->isEnabled()) {
        button->setFocus();
        break;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

namespace {

// The one local file or folder that a drag carries; empty for anything else (several items,
// text, a remote address).
std::string DroppedPath(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  return QDir::toNativeSeparators(url.toLocalFile()).toStdString();
}

}  // namespace

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!running_ && fraMenu_->isEnabled() && !DroppedPath(event->mimeData()).empty())
    event->acceptProposedAction();
}

void frmMain::StartWithTargets(const std::vector<std::string>& paths) {
  targets_->StartWithTargets(paths);
}

void frmMain::dropEvent(QDropEvent* event) {
  const std::string path = DroppedPath(event->mimeData());
  if (path.empty() || running_ || !fraMenu_->isEnabled()) return;
  event->acceptProposedAction();
  targets_->DropTarget(path);
}
