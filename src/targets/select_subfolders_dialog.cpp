#include "targets/select_subfolders_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "text/user_dialogs.h"
#include "ui/twips.h"

namespace {

constexpr int kMarginTwips = 240;
constexpr int kSpacingTwips = 90;
constexpr int kListWidthTwips = 6600;
constexpr int kButtonGapTwips = 250;
// Readable rows in black, rows that cannot be read in dark red.
constexpr const char* kUnreadableStyle = "color: #a00000;";

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

frmSelectSubfolders::frmSelectSubfolders(SelectSubfolders& state, std::string folder,
                                         std::vector<std::string> preselectedNames,
                                         UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      state_(state),
      parentFolder_(std::move(folder)),
      preselectedNames_(std::move(preselectedNames)),
      dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmSelectSubfolders"));
  setWindowTitle(QStringLiteral("Select subfolders"));
  setModal(true);

  list_ = new QWidget(this);
  list_->setObjectName(QStringLiteral("fraSubfolders"));
  list_->setAccessibleName(QStringLiteral("Subfolders"));
  list_->setMinimumWidth(Twips::ToPixels(kListWidthTwips, this));
  auto* listLayout = new QVBoxLayout(list_);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->setSpacing(0);
  reading_ = new QLabel(QStringLiteral("Reading disk ..."), list_);
  reading_->setObjectName(QStringLiteral("lblReading"));
  listLayout->addWidget(reading_);
  vsbSubfolders_ = new QScrollBar(Qt::Vertical, this);
  vsbSubfolders_->setObjectName(QStringLiteral("vsbSubfolders"));
  vsbSubfolders_->setAccessibleName(QStringLiteral("Scroll subfolders"));
  vsbSubfolders_->hide();
  lblNumSubfolders_ = new QLabel(this);
  lblNumSubfolders_->setObjectName(QStringLiteral("lblNumSubfolders"));
  auto* cmdDeselectAll = new QPushButton(QStringLiteral("&Deselect all"), this);
  cmdDeselectAll->setObjectName(QStringLiteral("cmdSelectDeselectAllSubfolders_0"));
  auto* cmdSelectAll = new QPushButton(QStringLiteral("&Select all"), this);
  cmdSelectAll->setObjectName(QStringLiteral("cmdSelectDeselectAllSubfolders_1"));
  cmdAccept_ = new QPushButton(QStringLiteral("&Accept"), this);
  cmdAccept_->setObjectName(QStringLiteral("cmdAccept"));
  cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));

  auto* layout = new QVBoxLayout(this);
  const int margin = Twips::ToPixels(kMarginTwips, this);
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(Twips::ToPixels(kSpacingTwips, this));
  auto* listRow = new QHBoxLayout;
  listRow->addWidget(list_, 1);
  listRow->addWidget(vsbSubfolders_);
  layout->addLayout(listRow);
  layout->addWidget(lblNumSubfolders_);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(cmdSelectAll);
  buttonRow->addWidget(cmdDeselectAll);
  buttonRow->addStretch(1);
  buttonRow->addWidget(cmdAccept_);
  buttonRow->addSpacing(Twips::ToPixels(kButtonGapTwips, this));
  buttonRow->addWidget(cmdCancel_);
  layout->addLayout(buttonRow);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(vsbSubfolders_, &QScrollBar::valueChanged, this, [this](int value) {
    if (busy_) return;
    state_.ScrollTo(value);
    ShowRows();
    cmdAccept_->setFocus();
  });
  connect(cmdSelectAll, &QPushButton::clicked, this, [this] {
    if (busy_) return;
    state_.SelectAll();
    ShowRows();
  });
  connect(cmdDeselectAll, &QPushButton::clicked, this, [this] {
    if (busy_) return;
    state_.DeselectAll();
    ShowRows();
  });
  connect(cmdAccept_, &QPushButton::clicked, this, [this] { Accept(); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { Cancel(); });
}

void frmSelectSubfolders::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Read once the window stands on the screen, so that "Reading disk ..." can be seen.
  QTimer::singleShot(0, this, [this] { ReadList(); });
}

void frmSelectSubfolders::ReadList() {
  busy_ = true;
  stopRequested_ = false;
  for (QCheckBox* row : rows_) delete row;
  rows_.clear();
  reading_->show();
  vsbSubfolders_->hide();
  const SelectSubfolders::ReadOutcome outcome =
      state_.Read(parentFolder_, preselectedNames_, [this] {
        emit subfolderRead();
        QCoreApplication::processEvents();
        return !stopRequested_;
      });
  busy_ = false;
  if (outcome == SelectSubfolders::ReadOutcome::ParentUnreadable) {
    dialogs_.Tell("Select subfolders", state_.ReadErrorText(), MessageIcon::Exclamation);
    Cancel();
    return;
  }
  if (outcome == SelectSubfolders::ReadOutcome::Stopped) {
    Cancel();
    return;
  }
  reading_->hide();
  for (int k = 0; k < state_.VisibleRows(); ++k) {
    auto* row = new QCheckBox(list_);
    row->setObjectName(QStringLiteral("chkSubfolder_%1").arg(k));
    list_->layout()->addWidget(row);
    // Every change the user makes, by a click, a key or an assistive tool; ShowRows blocks the
    // rows' signals.
    connect(row, &QCheckBox::toggled, this, [this, row, k](bool checked) {
      if (busy_) {
        ShowRows();
        return;
      }
      const bool taken = state_.SetChecked(state_.First() + k, checked);
      const QSignalBlocker blocker(row);
      row->setChecked(taken);
      ShowRows();
    });
    rows_.push_back(row);
  }
  {
    const QSignalBlocker blocker(vsbSubfolders_);
    vsbSubfolders_->setRange(0, state_.ScrollMaximum());
    vsbSubfolders_->setValue(0);
    vsbSubfolders_->setSingleStep(1);
    vsbSubfolders_->setPageStep(state_.ScrollPageStep());
  }
  state_.ScrollTo(0);
  vsbSubfolders_->setVisible(state_.NeedsScrollBar());
  ShowRows();
  cmdCancel_->setFocus();
}

void frmSelectSubfolders::ShowRows() {
  for (std::size_t k = 0; k < rows_.size(); ++k) {
    const auto index = static_cast<std::size_t>(state_.First()) + k;
    if (index >= state_.Subfolders().size()) break;
    const SubfolderRow& subfolder = state_.Subfolders()[index];
    QCheckBox* row = rows_[k];
    const QSignalBlocker blocker(row);
    // A name's ampersand is shown as it is, never taken as a mnemonic.
    row->setText(ToQString(subfolder.text).replace(QStringLiteral("&"), QStringLiteral("&&")));
    row->setChecked(subfolder.checked);
    row->setStyleSheet(subfolder.unreadable ? QString::fromLatin1(kUnreadableStyle) : QString());
  }
  lblNumSubfolders_->setText(
      ToQString(state_.StatusText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void frmSelectSubfolders::Accept() {
  if (busy_) return;
  accepted = true;
  result = state_.Accept();
  done(QDialog::Accepted);
}

void frmSelectSubfolders::Cancel() {
  if (busy_) {
    // The reading ends at the next subfolder and then closes the window.
    stopRequested_ = true;
    return;
  }
  QDialog::reject();
}

void frmSelectSubfolders::reject() {
  if (busy_) {
    stopRequested_ = true;
    return;
  }
  dialogs_.Tell("Select Folders",
                "Please exit this window only by clicking on 'Accept' or 'Cancel'.",
                MessageIcon::Exclamation);
}

std::optional<std::vector<std::string>> RunSubfolderSelection(
    const std::string& parent, const std::string& caption, SubfolderSelectionMemory& memory,
    UserDialogs& dialogs, QWidget* mainWindow, double* totalSize, bool* overLimit) {
  SelectSubfolders state;
  frmSelectSubfolders dialog(state, parent, memory.PreselectionFor(parent), dialogs, mainWindow);
  dialog.setWindowTitle(ToQString(caption));
  if (mainWindow != nullptr) {
    const QWidget* frame = mainWindow->findChild<QWidget*>(QStringLiteral("fraMenu"));
    const QWidget* over = frame != nullptr ? frame : mainWindow;
    dialog.move(over->mapToGlobal(QPoint(0, 0)));
  }
  dialog.exec();
  if (!dialog.accepted) {
    dialogs.Tell("Folder selection", "Selection cancelled.", MessageIcon::Information);
    return std::nullopt;
  }
  memory.Remember(parent, dialog.result);
  if (totalSize != nullptr) *totalSize = state.TotalSize();
  if (overLimit != nullptr) *overLimit = state.AnyOverLimit();
  return memory.SelectedSubfolders;
}
