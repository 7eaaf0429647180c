#include "operation/report_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <algorithm>

#include "operation/purge_run.h"
#include "ui/qt_user_dialogs.h"
#include "ui/twips.h"
#include "ui/window_role.h"

namespace {

// Sizes and distances, in twips.
constexpr int kWindowWidth = 5700;
constexpr int kWindowHeight = 6000;
constexpr int kMinWidth = 4500;
constexpr int kMinHeight = 2500;
constexpr int kMargin = 120;
constexpr int kButtonHeight = 375;
constexpr int kButtonBelowText = 120;
constexpr int kRightGap = 200;
constexpr int kStatusBelowButtonTop = 30;
constexpr int kStatusWidth = 1200;
constexpr int kLabelGap = 150;
constexpr int kStopWidth = 1000;
constexpr int kPurgePauseWidth = 2500;
constexpr int kListPauseWidth = 1000;
constexpr int kContinueWidth = 1500;
constexpr int kCloseWidth = 1000;
constexpr int kCopyPadding = 360;

const QString kPaused = QStringLiteral("Paused");
const QString kStopped = QStringLiteral("Stopped");
// After Stop, until the walk has returned: the pass under way is written to its end first.
const QString kStopping = QStringLiteral("Stopping ...");

}  // namespace

frmReport::frmReport(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmReport"));
  WindowRole::ExposeAsFrame();
  txbText_ = new QPlainTextEdit(this);
  txbText_->setObjectName(QStringLiteral("txbText"));
  txbText_->setReadOnly(true);
  txbText_->viewport()->installEventFilter(this);

  const auto button = [this](const char* name, const QString& caption) {
    auto* created = new QPushButton(caption, this);
    created->setObjectName(QString::fromLatin1(name));
    return created;
  };
  cmdStop_ = button("cmdStop", QStringLiteral("Stop"));
  cmdPauseContinue_ = button("cmdPauseContinue", QStringLiteral("Pause"));
  cmdClose_ = button("cmdClose", QStringLiteral("Close"));
  cmdCopyToClipboard_ = button("cmdCopyToClipboard", QStringLiteral("Copy to clipboard"));
  connect(cmdStop_, &QPushButton::clicked, this, &frmReport::cmdStop_Click);
  connect(cmdPauseContinue_, &QPushButton::clicked, this, &frmReport::cmdPauseContinue_Click);
  connect(cmdClose_, &QPushButton::clicked, this, [this] { close(); });
  connect(cmdCopyToClipboard_, &QPushButton::clicked, this, &frmReport::cmdCopyToClipboard_Click);

  lblPausedDone_ = new QLabel(this);
  lblPausedDone_->setObjectName(QStringLiteral("lblPausedDone"));
  lblPausedDone_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  lblPausedDone_->setAttribute(Qt::WA_TransparentForMouseEvents);
  lblDots_ = new QLabel(QStringLiteral("Each dot represents a folder."), this);
  lblDots_->setObjectName(QStringLiteral("lblDots"));
  lblDots_->setAttribute(Qt::WA_TransparentForMouseEvents);
  lblDots_->hide();

  SetButton(cmdStop_, QStringLiteral("Stop"), kStopWidth);
  SetButton(cmdClose_, QStringLiteral("Close"), kCloseWidth);
  ShowCopyCaption(false);
  setMinimumSize(Twips::ToPixels(kMinWidth, this), Twips::ToPixels(kMinHeight, this));
  resize(Twips::ToPixels(kWindowWidth, this), Twips::ToPixels(kWindowHeight, this));
  ApplyLayout();
}

void frmReport::BeginRun(PurgeRun& run, const RunRequest& request) {
  run_ = &run;
  counting_ = false;
  purge_ = request.kind == RunKind::Purge;
  freeSpace_ = request.kind == RunKind::FreeSpace;
  paused_ = false;
  listsDots_ = !purge_ && !request.displayFolderNames;
  reportText_.clear();
  txbText_->clear();
  cmdCopyToClipboard_->hide();
  lblDots_->setVisible(listsDots_);
  cmdStop_->hide();
  cmdClose_->hide();
  for (QPushButton* button : {cmdStop_, cmdPauseContinue_, cmdClose_}) button->setEnabled(true);
  lblPausedDone_->clear();
  SetRunButtons();
  PlaceAtRight(cmdPauseContinue_);
  cmdPauseContinue_->show();
}

void frmReport::BeginCount(PurgeRun& run) {
  run_ = &run;
  counting_ = true;
  beforeCount_ = {isVisible(), cmdClose_->isVisibleTo(this), cmdCopyToClipboard_->isVisibleTo(this),
                  lblDots_->isVisibleTo(this), lblPausedDone_->text()};
  txbText_->clear();
  cmdCopyToClipboard_->hide();
  lblDots_->hide();
  cmdClose_->hide();
  cmdPauseContinue_->hide();
  lblPausedDone_->clear();
  SetButton(cmdStop_, QStringLiteral("Stop"), kStopWidth);
  for (QPushButton* button : {cmdStop_, cmdPauseContinue_, cmdClose_}) button->setEnabled(true);
  cmdStop_->show();
}

void frmReport::EndCount() {
  if (!counting_) return;
  counting_ = false;
  run_ = nullptr;
  cmdStop_->hide();
  for (QPushButton* button : {cmdStop_, cmdPauseContinue_, cmdClose_}) button->setEnabled(true);
  txbText_->setPlainText(ToDisplayText(reportText_));
  txbText_->moveCursor(QTextCursor::End);
  cmdClose_->setVisible(beforeCount_.closeShown);
  cmdCopyToClipboard_->setVisible(beforeCount_.copyShown);
  lblDots_->setVisible(beforeCount_.dotsShown);
  if (beforeCount_.status.isEmpty())
    lblPausedDone_->clear();
  else
    ShowStatus(beforeCount_.status, beforeCount_.status == kPaused ? cmdStop_ : cmdClose_);
  if (!beforeCount_.windowShown) hide();
}

void frmReport::SetRunButtons() {
  if (purge_) {
    cmdStop_->hide();
    SetButton(cmdPauseContinue_, QStringLiteral("Pause at next purge"), kPurgePauseWidth);
  } else {
    SetButton(cmdStop_, QStringLiteral("Stop"), kStopWidth);
    cmdStop_->show();
    SetButton(cmdPauseContinue_, QStringLiteral("Pause"), kListPauseWidth);
  }
}

void frmReport::SetButton(QPushButton* button, const QString& caption, int widthTwips) {
  button->setText(caption);
  button->resize(Twips::ToPixels(widthTwips, this), Twips::ToPixels(kButtonHeight, this));
}

void frmReport::PlaceAtRight(QPushButton* button) {
  button->move(width() - Twips::ToPixels(kRightGap, this) - button->width(), ButtonTop());
}

int frmReport::ButtonTop() const {
  return height() - Twips::ToPixels(kMargin + kButtonHeight, this);
}

void frmReport::ShowStatus(const QString& status, const QWidget* besideButton) {
  lblPausedDone_->setText(status);
  const int right = width() - Twips::ToPixels(kRightGap + kContinueWidth + kLabelGap, this);
  const int statusWidth = Twips::ToPixels(kStatusWidth, this);
  lblPausedDone_->setGeometry(right - statusWidth,
                              besideButton->y() + Twips::ToPixels(kStatusBelowButtonTop, this),
                              statusWidth, Twips::ToPixels(kButtonHeight, this));
}

void frmReport::ShowReportText(const std::string& text) {
  if (text == reportText_) return;
  // Text added at the end is appended; anything else (a gauge cut back, a report cut short)
  // replaces the whole text. A line break is never split between two updates.
  const bool grown = !reportText_.empty() && text.size() > reportText_.size() &&
                     text.compare(0, reportText_.size(), reportText_) == 0 &&
                     reportText_.back() != '\r';
  if (grown) {
    QTextCursor cursor(txbText_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(ToDisplayText(text.substr(reportText_.size())));
  } else {
    txbText_->setPlainText(ToDisplayText(text));
  }
  reportText_ = text;
  txbText_->moveCursor(QTextCursor::End);
  txbText_->ensureCursorVisible();
}

void frmReport::EndRun() {
  if (run_ == nullptr) return;
  const PurgeRun& run = *run_;
  ShowReportText(run.Report());
  cmdStop_->hide();
  cmdPauseContinue_->hide();
  cmdClose_->setEnabled(true);
  cmdClose_->show();
  if (lblPausedDone_->text() == kStopping) ShowStatus(kStopped, cmdClose_);
  if (listsDots_ && run.lngNumFilesProcessed > 0) lblDots_->hide();
  if (purge_ || freeSpace_) {
    const QString status = lblPausedDone_->text();
    const bool done = purge_ ? run.lngNumFilesPurged > 0 : run.Status() == RunStatus::Done;
    if (status != kPaused && status != kStopped && done) {
      ShowStatus(QStringLiteral("Done"), cmdClose_);
      lblDots_->hide();
    }
  }
  run_ = nullptr;

  cmdCopyToClipboard_->move(cmdStop_->x(), cmdClose_->y());
  cmdCopyToClipboard_->setEnabled(true);
  cmdCopyToClipboard_->show();
  // The caret goes to the end first, so that a selection made during the run does not stand in
  // for the whole report on the clipboard.
  txbText_->moveCursor(QTextCursor::End);
  cmdCopyToClipboard_Click();
}

void frmReport::HideRunButtons() {
  stopWasShown_ = cmdStop_->isVisibleTo(this);
  pauseWasShown_ = cmdPauseContinue_->isVisibleTo(this);
  cmdStop_->hide();
  cmdPauseContinue_->hide();
}

void frmReport::RestoreRunButtons() {
  if (run_ == nullptr || lblPausedDone_->text() == kStopping) return;
  cmdStop_->setVisible(stopWasShown_);
  cmdPauseContinue_->setVisible(pauseWasShown_);
}

void frmReport::ShowStopping() {
  // Nothing more to press until the walk has returned; Close is offered then.
  for (QPushButton* button : {cmdStop_, cmdPauseContinue_}) {
    button->setEnabled(false);
    button->hide();
  }
  cmdClose_->setEnabled(false);
  cmdClose_->show();
  ShowStatus(kStopping, cmdClose_);
  lblDots_->hide();
}

bool frmReport::ShowLastReport() {
  if (reportText_.empty()) return false;
  show();
  txbText_->moveCursor(QTextCursor::Start);
  raise();
  activateWindow();
  return true;
}

void frmReport::cmdStop_Click() {
  if (run_ == nullptr || lblPausedDone_->text() == kStopping) return;
  run_->StopButton();
  ShowStopping();
}

void frmReport::cmdPauseContinue_Click() {
  if (run_ == nullptr || counting_ || lblPausedDone_->text() == kStopping) return;
  run_->PauseContinueButton();
  paused_ = run_->Paused.load();
  if (paused_) {
    SetButton(cmdStop_, QStringLiteral("Stop"), kStopWidth);
    cmdStop_->show();
    SetButton(cmdPauseContinue_, QStringLiteral("Continue"), kContinueWidth);
    ShowStatus(kPaused, cmdStop_);
    lblDots_->hide();
  } else {
    SetRunButtons();
    lblPausedDone_->clear();
  }
  PlaceAtRight(cmdPauseContinue_);
}

void frmReport::cmdCopyToClipboard_Click() {
  if (!txbText_->document()->isEmpty()) {
    const QTextCursor cursor = txbText_->textCursor();
    QString text;
    if (cursor.hasSelection()) {
      text = cursor.selectedText();
      // A selection marks its line ends as paragraph separators; the report's are CR LF.
      text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    } else {
      text = QString::fromStdString(reportText_);
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
  }
  ShowCopyCaption(false);
  cmdClose_->setFocus(Qt::OtherFocusReason);
}

void frmReport::ShowCopyCaption(bool textSelected) {
  const QString caption = textSelected ? QStringLiteral("Copy selected text to clipboard")
                                       : QStringLiteral("Copy to clipboard");
  cmdCopyToClipboard_->setText(caption);
  cmdCopyToClipboard_->resize(cmdCopyToClipboard_->fontMetrics().horizontalAdvance(caption) +
                                  Twips::ToPixels(kCopyPadding, this),
                              Twips::ToPixels(kButtonHeight, this));
}

void frmReport::ApplyLayout() {
  const int margin = Twips::ToPixels(kMargin, this);
  const int buttonTop = ButtonTop();
  txbText_->setGeometry(margin, margin, std::max(0, width() - 2 * margin),
                        std::max(0, buttonTop - Twips::ToPixels(kButtonBelowText, this) - margin));
  cmdStop_->move(margin, buttonTop);
  cmdCopyToClipboard_->move(margin, buttonTop);
  PlaceAtRight(cmdClose_);
  PlaceAtRight(cmdPauseContinue_);
  const int dotsLeft = margin + Twips::ToPixels(kStopWidth + kLabelGap, this);
  lblDots_->setGeometry(dotsLeft, buttonTop + Twips::ToPixels(kStatusBelowButtonTop, this),
                        std::max(0, cmdPauseContinue_->x() - dotsLeft),
                        Twips::ToPixels(kButtonHeight, this));
  if (!lblPausedDone_->text().isEmpty())
    ShowStatus(lblPausedDone_->text(), lblPausedDone_->text() == kPaused ? cmdStop_ : cmdClose_);
}

void frmReport::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyLayout();
}

void frmReport::closeEvent(QCloseEvent* event) {
  // While a run is on the window stays: its report and its Stop button are needed.
  if (RunOn()) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void frmReport::keyPressEvent(QKeyEvent* event) {
  // Escape closes the window when no run is on (closeEvent keeps it during a run).
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool frmReport::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txbText_->viewport() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      cmdCopyToClipboard_->isEnabled()) {
    ShowCopyCaption(txbText_->textCursor().hasSelection());
  }
  return QWidget::eventFilter(watched, event);
}
