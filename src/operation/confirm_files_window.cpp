#include "operation/confirm_files_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/twips.h"

namespace {

// The gap between this window's bottom edge and the report window's, in twips.
constexpr int kAboveReportBottom = 100;

}  // namespace

frmConfirmFiles::frmConfirmFiles(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmConfirmFiles"));
  setWindowTitle(QStringLiteral("Confirm purging of this file"));
  setModal(true);

  auto* question = new QLabel(QStringLiteral("Purge this file?"), this);
  question->setObjectName(QStringLiteral("lblQuestion"));
  lblFile_ = new QLabel(this);
  lblFile_->setObjectName(QStringLiteral("lblFile"));
  lblFile_->setWordWrap(true);
  lblFile_->setTextFormat(Qt::PlainText);

  const auto button = [this](const char* name, const QString& caption, FileConfirmation answer) {
    auto* created = new QPushButton(caption, this);
    created->setObjectName(QString::fromLatin1(name));
    created->setAutoDefault(false);
    connect(created, &QPushButton::clicked, this, [this, answer] { Answer(answer); });
    return created;
  };
  QPushButton* yes = button("cmdYes", QStringLiteral("Yes"), FileConfirmation::Purge);
  QPushButton* no = button("cmdNo", QStringLiteral("No"), FileConfirmation::Skip);
  QPushButton* all =
      button("cmdPurgeAll",
             QStringLiteral("Purge this file and all subsequent files (don't show this again)."),
             FileConfirmation::PurgeAll);
  QPushButton* stop =
      button("cmdStopThisPurge", QStringLiteral("Stop this purge"), FileConfirmation::Stop);

  auto* answers = new QHBoxLayout;
  answers->addWidget(yes);
  answers->addWidget(no);
  answers->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addWidget(lblFile_);
  layout->addLayout(answers);
  layout->addWidget(all);
  layout->addWidget(stop);
  setMinimumWidth(Twips::ToPixels(5000, this));
}

FileConfirmation frmConfirmFiles::Ask(const std::string& label, const QWidget* reportWindow) {
  blnFileConfirmed = FileConfirmation::Skip;
  lblFile_->setText(QString::fromStdString(label));
  adjustSize();
  if (reportWindow != nullptr) PlaceOn(reportWindow);
  exec();
  return blnFileConfirmed;
}

void frmConfirmFiles::Answer(FileConfirmation answer) {
  blnFileConfirmed = answer;
  done(QDialog::Accepted);
}

void frmConfirmFiles::PlaceOn(const QWidget* reportWindow) {
  const QRect report = reportWindow->frameGeometry();
  // Before it is first shown this window's frame is not known yet; it is taken to be as wide as
  // the report window's.
  QSize frame = frameGeometry().size() - geometry().size();
  if (frame.isNull()) frame = report.size() - reportWindow->geometry().size();
  const QSize size = geometry().size() + frame;
  int x = report.x() + (report.width() - size.width()) / 2;
  int y = report.y() + report.height() - Twips::ToPixels(kAboveReportBottom, reportWindow) -
          size.height();
  // A report window near an edge of the screen must not take the question off the screen.
  if (const QScreen* screen = reportWindow->screen()) {
    const QRect available = screen->availableGeometry();
    x = std::max(available.left(), std::min(x, available.x() + available.width() - size.width()));
    y = std::max(available.top(), std::min(y, available.y() + available.height() - size.height()));
  }
  move(x, y);
}
