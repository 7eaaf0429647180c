#include "operation/purge_confirmation_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "engine/cluster_size.h"
#include "operation/purge_confirmation.h"
#include "operation/purge_options.h"
#include "operation/volume_warnings.h"
#include "platform/drives.h"
#include "ui/mnemonic.h"
#include "ui/twips.h"

namespace {

using Box = PurgeConfirmationState::Box;

constexpr int kDialogWidthTwips = 7200;
constexpr int kMarginTwips = 180;
constexpr int kSpacingTwips = 60;
constexpr int kRightOfMenuTwips = 50;
constexpr int kBelowProcessButtonTwips = 330;

struct BoxControl {
  Box box;
  const char* objectName;
  const char* caption;
  const char* mnemonicAt;
};

// In the order in which they stand, so that Tab goes from top to bottom. Each box's mnemonic is
// the letter that begins its mnemonicAt; Y (cmdDoPurge), C (cmdCancel) and L (the cluster size)
// are the buttons' and the list's.
constexpr BoxControl kBoxControls[] = {
    {Box::chkPurgeSlackOnly, "chkPurgeSlackOnly", "Purge slack area only", ""},
    {Box::chkDoNotDeletePurgedFiles, "chkDoNotDeletePurgedFiles", "Do not delete purged files",
     "Do"},
    {Box::chkConfirmFiles, "chkConfirmFiles", "Confirm each file before it is purged", "each"},
    {Box::chkOKToPurgeReadOnlyFiles, "chkOKToPurgeReadOnlyFiles", "Purge read-only files", "read"},
    {Box::chkOKToPurgeSystemFiles, "chkOKToPurgeSystemFiles", "Purge system files", "system"},
    {Box::chkOKToPurgeHardLinkedFiles, "chkOKToPurgeHardLinkedFiles", kHardLinkedFilesCaption,
     "hard"},
    {Box::chkOKToPurgeSensitiveFiles, "chkOKToPurgeSensitiveFiles",
     "Purge files with sensitive extensions (programs, drivers, settings)", "xtensions"},
    {Box::chkFolderNamesOnly, "chkFolderNamesOnly", "Show folder names only (a dot per file)",
     "names"},
    {Box::chkDeleteEmptyFolders, "chkDeleteEmptyFolders", "Delete empty subfolders", "mpty"},
};
// The letters above, which cmdDoPurge's caption leaves to the others.
constexpr const char* kTakenMnemonics = "dershxnmcl";

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

// The message's lines are separated by CR LF; a label breaks its lines at LF alone.
QString MessageText(const std::string& text) {
  QString message = ToQString(text);
  message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return message;
}

std::size_t Index(Box box) {
  return static_cast<std::size_t>(box);
}

}  // namespace

frmPurgeConfirmation::frmPurgeConfirmation(PurgeConfirmationState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("frmPurgeConfirmation"));
  setWindowTitle(QStringLiteral("Purge confirmation"));
  const int margin = Twips::ToPixels(kMarginTwips, this);
  const int spacing = Twips::ToPixels(kSpacingTwips, this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(spacing);

  lblMessage_ = new QLabel(this);
  lblMessage_->setObjectName(QStringLiteral("lblMessage"));
  lblMessage_->setWordWrap(true);
  lblMessage_->setTextFormat(Qt::PlainText);
  layout->addWidget(lblMessage_);
  // What the drive may keep of the files, below the message and apart from it.
  lblVolumeWarnings_ = new QLabel(this);
  lblVolumeWarnings_->setObjectName(QStringLiteral("lblVolumeWarnings"));
  lblVolumeWarnings_->setWordWrap(true);
  lblVolumeWarnings_->setTextFormat(Qt::PlainText);
  layout->addSpacing(spacing);
  layout->addWidget(lblVolumeWarnings_);
  layout->addSpacing(spacing * 2);

  for (const BoxControl& control : kBoxControls) {
    auto* box = new QCheckBox(Mnemonic::Before(QString::fromUtf8(control.caption),
                                               QString::fromLatin1(control.mnemonicAt)),
                              this);
    box->setObjectName(QString::fromLatin1(control.objectName));
    boxes_[Index(control.box)] = box;
    layout->addWidget(box);
    // Every change the user makes, by a click, a key or an assistive tool, and never one made
    // by ShowState, which blocks the box's signals.
    connect(box, &QCheckBox::toggled, this, [this, which = control.box](bool ticked) {
      state_.SetTicked(which, ticked);
      ShowState();
    });
  }

  fraClusterSize_ = new QFrame(this);
  fraClusterSize_->setObjectName(QStringLiteral("fraClusterSize"));
  auto* clusterRow = new QHBoxLayout(fraClusterSize_);
  clusterRow->setContentsMargins(0, spacing, 0, spacing);
  lblClusterSize_ = new QLabel(QStringLiteral("C&luster size:"), fraClusterSize_);
  lblClusterSize_->setObjectName(QStringLiteral("lblClusterSize"));
  lblClusterSize_->installEventFilter(this);
  cboClusterSize_ = new QComboBox(fraClusterSize_);
  cboClusterSize_->setObjectName(QStringLiteral("cboClusterSize"));
  cboClusterSize_->setAccessibleName(QStringLiteral("Cluster size"));
  lblClusterSize_->setBuddy(cboClusterSize_);
  for (const ClusterSizeEntry& entry : kClusterSizeEntries)
    cboClusterSize_->addItem(QString::fromLatin1(entry.text), entry.value);
  lblFileSystem_ = new QLabel(fraClusterSize_);
  lblFileSystem_->setObjectName(QStringLiteral("lblFileSystem"));
  lblFileSystem_->installEventFilter(this);
  clusterRow->addWidget(lblClusterSize_);
  clusterRow->addWidget(cboClusterSize_);
  clusterRow->addWidget(lblFileSystem_, 1);
  layout->addWidget(fraClusterSize_);
  connect(cboClusterSize_, &QComboBox::activated, this, [this](int index) {
    state_.SelectClusterSize(index);
    ShowState();
  });

  cmdDoPurge_ = new QPushButton(this);
  cmdDoPurge_->setObjectName(QStringLiteral("cmdDoPurge"));
  cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
  // Enter cancels unless the user has moved to cmdDoPurge himself.
  cmdCancel_->setDefault(true);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(cmdDoPurge_);
  buttonRow->addSpacing(margin);
  buttonRow->addWidget(cmdCancel_);
  layout->addSpacing(spacing * 2);
  layout->addLayout(buttonRow);
  connect(cmdDoPurge_, &QPushButton::clicked, this, [this] { DoPurge(); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { reject(); });

  setFixedWidth(Twips::ToPixels(kDialogWidthTwips, this));
  ShowState();
}

void frmPurgeConfirmation::Open(PurgeOptions& options, bool& blnConfirmFiles,
                                DriveClusterSize& clusterSizes, const std::string& driveRoot,
                                const PurgeConfirmationTexts& texts, std::int32_t filesInFolder,
                                bool subfolders, const std::vector<std::string>& volumeWarnings) {
  options_ = &options;
  blnConfirmFiles_ = &blnConfirmFiles;
  clusterSizes_ = &clusterSizes;
  driveRoot_ = driveRoot;
  Platform::DriveInfo drive;
  if (!Platform::DriveOfPath(driveRoot, drive) && !drive.fileSystem.empty())
    state_.SetFileSystemText("File system: " + drive.fileSystem);
  state_.SetVolumeWarnings(volumeWarnings);
  state_.Show(options, texts, subfolders, filesInFolder, GetClusterSize(clusterSizes, driveRoot));
  ShowState();
  adjustSize();
  // Wrapped texts need the height that the fixed width gives them, which adjustSize does not
  // ask for: without it the message and the warnings are cut.
  if (layout()->hasHeightForWidth()) resize(width(), layout()->totalHeightForWidth(width()));
}

void frmPurgeConfirmation::ShowState() {
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    const OptionBox& option = state_.Get(static_cast<Box>(i));
    QCheckBox* box = boxes_[i];
    const QSignalBlocker blocker(box);
    box->setChecked(option.ticked);
    box->setEnabled(option.enabled);
    box->setVisible(option.visible);
  }
  lblMessage_->setText(MessageText(state_.Message()));
  lblVolumeWarnings_->setText(MessageText(state_.VolumeWarningText()));
  lblVolumeWarnings_->setVisible(!state_.VolumeWarningText().empty());
  cmdDoPurge_->setText(
      Mnemonic::Marked(ToQString(state_.DoPurgeText()), QString::fromLatin1(kTakenMnemonics)));
  {
    const QSignalBlocker blocker(cboClusterSize_);
    cboClusterSize_->setCurrentIndex(state_.SelectedClusterSize());
  }
  fraClusterSize_->setVisible(state_.ClusterSizeFrameVisible());
  lblFileSystem_->setText(ToQString(state_.FileSystemText()));
  lblFileSystem_->setVisible(state_.FileSystemLabelVisible());
  if (state_.TakeCancelFocus()) cmdCancel_->setFocus(Qt::OtherFocusReason);
}

void frmPurgeConfirmation::DoPurge() {
  if (options_ == nullptr) return;
  state_.DoPurge(*options_, *blnConfirmFiles_, *clusterSizes_, driveRoot_);
  ShowState();
  QDialog::accept();
}

void frmPurgeConfirmation::reject() {
  if (options_ != nullptr) state_.Cancel(*options_);
  ShowState();
  QDialog::reject();
}

bool frmPurgeConfirmation::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == lblClusterSize_) {
      state_.ClickClusterSizeLabel();
      ShowState();
      return true;
    }
    if (watched == lblFileSystem_) {
      state_.ClickFileSystemLabel();
      ShowState();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool ShowPurgeConfirmation(PurgeConfirmationState& state, PurgeOptions& options,
                           bool& blnConfirmFiles, DriveClusterSize& clusterSizes,
                           const std::string& driveRoot, const PurgeConfirmationTexts& texts,
                           std::int32_t filesInFolder, bool subfolders, QWidget* mainWindow) {
  frmPurgeConfirmation dialog(state, mainWindow);
  dialog.Open(options, blnConfirmFiles, clusterSizes, driveRoot, texts, filesInFolder, subfolders,
              VolumeWarningsForPath(driveRoot));
  if (mainWindow != nullptr) {
    const auto* fraMenu = mainWindow->findChild<QWidget*>(QStringLiteral("fraMenu"));
    const auto* process = mainWindow->findChild<QWidget*>(QStringLiteral("cmdProcessFiles_1"));
    if (fraMenu != nullptr && process != nullptr) {
      const QPoint origin = mainWindow->mapToGlobal(QPoint(0, 0));
      const int menuRight = fraMenu->mapTo(mainWindow, QPoint(fraMenu->width(), 0)).x();
      const int processTop = process->mapTo(mainWindow, QPoint(0, 0)).y();
      dialog.move(origin.x() + menuRight + Twips::ToPixels(kRightOfMenuTwips, mainWindow),
                  origin.y() + processTop + Twips::ToPixels(kBelowProcessButtonTwips, mainWindow));
    }
  }
  dialog.exec();
  return options.blnConfirm;
}
