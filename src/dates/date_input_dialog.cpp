#include "dates/date_input_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "dates/date_input.h"
#include "ui/mnemonic.h"
#include "ui/twips.h"

namespace {

// Cancel stands this far from the right edge, and Accept this far to the left of Cancel.
constexpr int kButtonGapTwips = 250;
constexpr int kSpacingTwips = 120;
constexpr int kPromptMarginTwips = 120;

QColor FromRgb(std::uint32_t rgb) {
  return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>(rgb & 0xFF));
}

// The prompt is written in white, unless its background is so light that white would not be
// read; then it is written in black.
QColor PromptTextColor(const QColor& background) {
  const double luminance =
      0.299 * background.red() + 0.587 * background.green() + 0.114 * background.blue();
  return luminance > 160.0 ? QColor(Qt::black) : QColor(Qt::white);
}

// Clear's caption, given by the command, with a mnemonic that Accept (A) and Cancel (C) leave.
QString ClearText(const std::string& caption) {
  return Mnemonic::Marked(QString::fromStdString(caption), QStringLiteral("ac"));
}

void FillList(QComboBox* list, const std::vector<std::string>& entries) {
  const QSignalBlocker blocker(list);
  list->clear();
  for (const std::string& entry : entries) list->addItem(QString::fromStdString(entry));
}

}  // namespace

frmCEDateInput::frmCEDateInput(DateInput& state, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmCEDateInput"));
  const int gap = Twips::ToPixels(kButtonGapTwips, this);
  const int spacing = Twips::ToPixels(kSpacingTwips, this);

  lblPrompt_ = new QLabel(this);
  lblPrompt_->setObjectName(QStringLiteral("lblPrompt"));
  lblPrompt_->setWordWrap(true);
  lblPrompt_->setAutoFillBackground(true);
  lblPrompt_->setMargin(Twips::ToPixels(kPromptMarginTwips, this));

  cboMonthNames_ = new QComboBox(this);
  cboMonthNames_->setObjectName(QStringLiteral("cboMonthNames"));
  cboMonthNames_->setAccessibleName(QStringLiteral("Month"));
  cboDayNumbers_ = new QComboBox(this);
  cboDayNumbers_->setObjectName(QStringLiteral("cboDayNumbers"));
  cboDayNumbers_->setAccessibleName(QStringLiteral("Day"));
  txbYear_ = new QLineEdit(this);
  txbYear_->setObjectName(QStringLiteral("txbYear"));
  txbYear_->setAccessibleName(QStringLiteral("Year"));
  txbYear_->installEventFilter(this);

  // Created in the order they stand, so that Tab goes from left to right.
  cmdClear_ = new QPushButton(ClearText(state_.ClearCaption), this);
  cmdClear_->setObjectName(QStringLiteral("cmdClear"));
  cmdAccept_ = new QPushButton(QStringLiteral("&Accept"), this);
  cmdAccept_->setObjectName(QStringLiteral("cmdAccept"));
  // Enter on a list accepts too; Enter on Clear or Cancel presses that button.
  cmdAccept_->setDefault(true);
  cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, gap);
  layout->setSpacing(spacing);
  layout->addWidget(lblPrompt_);

  auto* dateRow = new QHBoxLayout;
  dateRow->setContentsMargins(gap, spacing, gap, spacing);
  dateRow->setSpacing(spacing);
  dateRow->addWidget(cboMonthNames_, 2);
  dateRow->addWidget(cboDayNumbers_, 1);
  dateRow->addWidget(txbYear_, 1);
  layout->addLayout(dateRow);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->setContentsMargins(gap, 0, gap, 0);
  buttonRow->setSpacing(0);
  buttonRow->addWidget(cmdClear_);
  buttonRow->addStretch(1);
  buttonRow->addSpacing(gap);
  buttonRow->addWidget(cmdAccept_);
  buttonRow->addSpacing(gap);
  buttonRow->addWidget(cmdCancel_);
  layout->addLayout(buttonRow);

  connect(cboMonthNames_, &QComboBox::currentIndexChanged, this,
          [this](int index) { FollowChoice(state_.ChooseMonth(index)); });
  connect(cboDayNumbers_, &QComboBox::currentIndexChanged, this,
          [this](int index) { FollowChoice(state_.ChooseDay(index)); });
  connect(txbYear_, &QLineEdit::textChanged, this,
          [this](const QString& text) { state_.SetYearText(text.toStdString()); });
  connect(cmdAccept_, &QPushButton::clicked, this, [this] { Accept(); });
  connect(cmdClear_, &QPushButton::clicked, this, [this] {
    state_.Clear();
    QDialog::accept();
  });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void frmCEDateInput::ShowModally() {
  if (!state_.Loaded()) state_.Load();
  if (cboMonthNames_->count() != static_cast<int>(state_.MonthNames().size())) {
    FillList(cboMonthNames_, state_.MonthNames());
  }
  if (cboDayNumbers_->count() != static_cast<int>(state_.DayNumbers().size())) {
    FillList(cboDayNumbers_, state_.DayNumbers());
  }

  setWindowTitle(QString::fromStdString(state_.Caption));
  lblPrompt_->setText(QString::fromStdString(state_.PromptCaption));
  lblPrompt_->setVisible(!state_.PromptCaption.empty());
  QPalette promptPalette = lblPrompt_->palette();
  const QColor background = FromRgb(state_.PromptBackColor);
  promptPalette.setColor(QPalette::Window, background);
  promptPalette.setColor(QPalette::WindowText, PromptTextColor(background));
  lblPrompt_->setPalette(promptPalette);
  cmdClear_->setText(ClearText(state_.ClearCaption));

  state_.Activate();
  ShowState();
  FitToWidth();
  cmdCancel_->setFocus();
  exec();
}

void frmCEDateInput::ShowState() {
  const QSignalBlocker monthBlocker(cboMonthNames_);
  const QSignalBlocker dayBlocker(cboDayNumbers_);
  const QSignalBlocker yearBlocker(txbYear_);
  cboMonthNames_->setCurrentIndex(state_.SelectedMonth());
  cboDayNumbers_->setCurrentIndex(state_.SelectedDay());
  txbYear_->setText(QString::fromStdString(state_.YearText()));
}

void frmCEDateInput::FitToWidth() {
  // The dialog that carries the prompt is as wide as the command asks; the prompt wraps within
  // it and the height follows.
  ensurePolished();
  layout()->invalidate();
  layout()->activate();
  int width = minimumSizeHint().width();
  if (!state_.PromptCaption.empty()) {
    width = std::max(width, Twips::ToPixels(OnlyBefore::kDialogWidthTwips, this));
  } else {
    width = std::max(width, sizeHint().width());
  }
  const int height =
      layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : sizeHint().height();
  resize(width, std::max(height, minimumSizeHint().height()));
}

void frmCEDateInput::FollowChoice(FocusAfterChoice focus) {
  // The choice trims the year box.
  if (txbYear_->text().toStdString() != state_.YearText()) {
    const QSignalBlocker yearBlocker(txbYear_);
    txbYear_->setText(QString::fromStdString(state_.YearText()));
  }
  if (focus == FocusAfterChoice::Accept) cmdAccept_->setFocus();
  if (focus == FocusAfterChoice::Cancel) cmdCancel_->setFocus();
}

void frmCEDateInput::Accept() {
  state_.SetYearText(txbYear_->text().toStdString());
  const AcceptOutcome outcome = state_.Accept(dialogs_);
  {
    const QSignalBlocker yearBlocker(txbYear_);
    txbYear_->setText(QString::fromStdString(state_.YearText()));
  }
  if (outcome == AcceptOutcome::Accepted) QDialog::accept();
}

bool frmCEDateInput::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txbYear_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmCEDateInput::reject() {
  state_.Cancel();
  QDialog::reject();
}
