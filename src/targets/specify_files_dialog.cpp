#include "targets/specify_files_dialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "targets/specify_files.h"
#include "ui/mnemonic.h"
#include "ui/twips.h"

namespace {

constexpr int kMarginTwips = 240;
constexpr int kSpacingTwips = 90;
// The list and the text boxes stand indented under their options.
constexpr int kIndentTwips = 300;
constexpr int kListWidthTwips = 4800;
constexpr int kListHeightTwips = 2000;
constexpr int kTextBoxWidthTwips = 1800;
constexpr int kButtonGapTwips = 250;

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

// Where an option's mnemonic stands in its caption; A and C are Accept's and Cancel's.
QString MnemonicAt(SpecifyFilesOption option) {
  switch (option) {
    case SpecifyFilesOption::SingleFile:
      return QStringLiteral("single");
    case SpecifyFilesOption::AllFiles:
      return QStringLiteral("files (");
    case SpecifyFilesOption::Extension:
      return QStringLiteral("extension");
    case SpecifyFilesOption::MultipleFiles:
      return QStringLiteral("pecification");
  }
  return {};
}

QHBoxLayout* Indented(QWidget* widget, int indent) {
  auto* row = new QHBoxLayout;
  row->addSpacing(indent);
  row->addWidget(widget);
  row->addStretch(1);
  return row;
}

}  // namespace

frmSpecifyFiles::frmSpecifyFiles(SpecifyFiles& state, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmSpecifyFiles"));
  setWindowTitle(QStringLiteral("Specify files"));
  const int indent = Twips::ToPixels(kIndentTwips, this);

  // Created in the order they stand, so that Tab goes from top to bottom.
  optSingleFile_ = AddOption("optSingleFile");
  File_ = new QListWidget(this);
  File_->setObjectName(QStringLiteral("File"));
  File_->setAccessibleName(QStringLiteral("Files in the folder"));
  File_->setSelectionMode(QAbstractItemView::SingleSelection);
  File_->setMinimumSize(Twips::ToPixels(kListWidthTwips, this),
                        Twips::ToPixels(kListHeightTwips, this));
  optAllFiles_ = AddOption("optAllFiles");
  optExtension_ = AddOption("optExtension");
  txbExtension_ = new QLineEdit(this);
  txbExtension_->setObjectName(QStringLiteral("txbExtension"));
  txbExtension_->setAccessibleName(QStringLiteral("Extension"));
  txbExtension_->setFixedWidth(Twips::ToPixels(kTextBoxWidthTwips, this));
  txbExtension_->installEventFilter(this);
  optMultipleFiles_ = AddOption("optMultipleFiles");
  txbFilespec_ = new QLineEdit(this);
  txbFilespec_->setObjectName(QStringLiteral("txbFilespec"));
  txbFilespec_->setAccessibleName(QStringLiteral("File specification"));
  txbFilespec_->setFixedWidth(Twips::ToPixels(kTextBoxWidthTwips, this));
  txbFilespec_->installEventFilter(this);
  cmdAccept_ = new QPushButton(QStringLiteral("&Accept"), this);
  cmdAccept_->setObjectName(QStringLiteral("cmdAccept"));
  cmdAccept_->setDefault(true);
  cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));

  auto* layout = new QVBoxLayout(this);
  const int margin = Twips::ToPixels(kMarginTwips, this);
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(Twips::ToPixels(kSpacingTwips, this));
  layout->addWidget(optSingleFile_);
  layout->addLayout(Indented(File_, indent));
  layout->addWidget(optAllFiles_);
  layout->addWidget(optExtension_);
  layout->addLayout(Indented(txbExtension_, indent));
  layout->addWidget(optMultipleFiles_);
  layout->addLayout(Indented(txbFilespec_, indent));
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(cmdAccept_);
  buttonRow->addSpacing(Twips::ToPixels(kButtonGapTwips, this));
  buttonRow->addWidget(cmdCancel_);
  layout->addSpacing(margin / 2);
  layout->addLayout(buttonRow);

  // The option that comes to be checked, by a click, a key or an assistive tool, is the one
  // chosen; ShowState blocks the buttons' signals while it checks the state's option.
  for (const SpecifyFilesOption option :
       {SpecifyFilesOption::SingleFile, SpecifyFilesOption::AllFiles, SpecifyFilesOption::Extension,
        SpecifyFilesOption::MultipleFiles}) {
    connect(OptionButton(option), &QRadioButton::toggled, this, [this, option](bool checked) {
      if (checked) ChooseOption(option);
    });
  }
  // A click on an option with a text box, checked already or not, goes on to the text box.
  connect(optExtension_, &QRadioButton::clicked, this, [this] { txbExtension_->setFocus(); });
  connect(optMultipleFiles_, &QRadioButton::clicked, this, [this] { txbFilespec_->setFocus(); });
  connect(File_, &QListWidget::currentRowChanged, this, [this](int row) {
    state_.SelectFile(row);
    ShowState();
  });
  connect(File_, &QListWidget::itemClicked, this, [this] {
    state_.SelectFile(File_->currentRow());
    ShowState();
    cmdAccept_->setFocus();
  });
  connect(txbExtension_, &QLineEdit::textChanged, this,
          [this](const QString& text) { state_.extensionText = text.toStdString(); });
  connect(txbFilespec_, &QLineEdit::textChanged, this,
          [this](const QString& text) { state_.filespecText = text.toStdString(); });
  connect(cmdAccept_, &QPushButton::clicked, this, [this] { Accept(); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { reject(); });

  {
    const QSignalBlocker blocker(File_);
    for (const std::string& name : state_.Files()) File_->addItem(ToQString(name));
  }
  ShowState();
}

QRadioButton* frmSpecifyFiles::AddOption(const char* objectName) {
  auto* option = new QRadioButton(this);
  option->setObjectName(QString::fromLatin1(objectName));
  return option;
}

QRadioButton* frmSpecifyFiles::OptionButton(SpecifyFilesOption option) const {
  switch (option) {
    case SpecifyFilesOption::SingleFile:
      return optSingleFile_;
    case SpecifyFilesOption::AllFiles:
      return optAllFiles_;
    case SpecifyFilesOption::Extension:
      return optExtension_;
    case SpecifyFilesOption::MultipleFiles:
      return optMultipleFiles_;
  }
  return optAllFiles_;
}

void frmSpecifyFiles::ShowState() {
  for (const SpecifyFilesOption option :
       {SpecifyFilesOption::SingleFile, SpecifyFilesOption::AllFiles, SpecifyFilesOption::Extension,
        SpecifyFilesOption::MultipleFiles})
    OptionButton(option)->setText(
        Mnemonic::Before(ToQString(state_.OptionCaption(option)), MnemonicAt(option)));
  optSingleFile_->setEnabled(state_.SingleFileEnabled());
  File_->setEnabled(state_.SingleFileEnabled());
  {
    const QSignalBlocker singleFileBlocker(optSingleFile_);
    const QSignalBlocker allFilesBlocker(optAllFiles_);
    const QSignalBlocker extensionBlocker(optExtension_);
    const QSignalBlocker multipleFilesBlocker(optMultipleFiles_);
    OptionButton(state_.SelectedOption())->setChecked(true);
  }
  {
    const QSignalBlocker blocker(File_);
    File_->setCurrentRow(state_.SelectedFile());
  }
  const QSignalBlocker extensionBlocker(txbExtension_);
  const QSignalBlocker filespecBlocker(txbFilespec_);
  if (txbExtension_->text().toStdString() != state_.extensionText)
    txbExtension_->setText(ToQString(state_.extensionText));
  if (txbFilespec_->text().toStdString() != state_.filespecText)
    txbFilespec_->setText(ToQString(state_.filespecText));
}

void frmSpecifyFiles::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ShowState();
  cmdCancel_->setFocus();
}

void frmSpecifyFiles::ChooseOption(SpecifyFilesOption option) {
  state_.SelectOption(option);
  ShowState();
}

void frmSpecifyFiles::Accept() {
  const bool closes = state_.Accept(dialogs_);
  ShowState();
  if (!closes) return;
  done(state_.accepted ? QDialog::Accepted : QDialog::Rejected);
}

void frmSpecifyFiles::reject() {
  state_.Cancel();
  QDialog::reject();
}

bool frmSpecifyFiles::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txbExtension_ || watched == txbFilespec_) {
    if (event->type() == QEvent::MouseButtonPress) {
      ChooseOption(watched == txbExtension_ ? SpecifyFilesOption::Extension
                                            : SpecifyFilesOption::MultipleFiles);
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Accept();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}
