#include "ui/view_window.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTextCursor>
#include <algorithm>

#include "platform/files.h"
#include "platform/program.h"
#include "ui/twips.h"
#include "ui/window_role.h"

namespace {

const char* const kHelpFileName = "kx_help.txt";

const QString kHeadNote = QStringLiteral(
    "NOTE: This file is too large to display entirely in this textbox.\r\n"
    "To view the entire contents of the file load it into NotePad,\r\n"
    "WordPad or some other text editor.\r\n\r\n");
const QString kTailNote =
    QStringLiteral("NOTE: Entire contents of file have not been displayed.\r\n");

// Window and control sizes, in twips.
constexpr int kMinWidth = 8000;
constexpr int kMinHeight = 2000;
constexpr int kTextMargin = 225;
constexpr int kTextNarrower = 450;
constexpr int kTextLower = 1200;
constexpr int kButtonGap = 100;
constexpr int kCopyWidth = 3270;
constexpr int kCopySelectedWidth = 4425;
constexpr int kCloseWidth = 1200;

// The position in text after its first count characters (Unicode code points), or the text's
// size when it holds fewer; *counted receives how many it passed. A surrogate pair is never cut.
qsizetype CodePointPosition(const QString& text, qsizetype count, qsizetype* counted = nullptr) {
  qsizetype position = 0;
  qsizetype n = 0;
  for (; n < count && position < text.size(); ++n) {
    const bool pair = text.at(position).isHighSurrogate() && position + 1 < text.size() &&
                      text.at(position + 1).isLowSurrogate();
    position += pair ? 2 : 1;
  }
  if (counted != nullptr) *counted = n;
  return position;
}

// Reads the start of a text file as UTF-8: enough to hold more characters than the viewer shows,
// so a huge file is never read whole. Nothing for a file that is missing, unreadable or not a
// regular file (a pipe would never end).
QString ReadTextStart(const std::string& path) {
  const QString fileName = QString::fromStdString(path);
  if (path.empty() || !QFileInfo(fileName).isFile()) return {};
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return {};
  // A character takes at most four bytes; a few more make up for one cut at the end.
  const qint64 maxBytes = 4 * static_cast<qint64>(frmView::kMaxCharacters) + 4;
  const QByteArray bytes = file.read(maxBytes);
  QString text = QString::fromUtf8(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return text;
}

// What the text box shows for the file's text: the text whole when it holds fewer characters
// than the box holds, otherwise the head note, as much of the text as fits, and the tail note.
QString TextToShow(const QString& text) {
  qsizetype characters = 0;
  CodePointPosition(text, frmView::kMaxCharacters, &characters);
  if (characters < frmView::kMaxCharacters) return text;
  const qsizetype fitting = frmView::kMaxCharacters - kHeadNote.size() - kTailNote.size();
  return kHeadNote + text.left(CodePointPosition(text, fitting)) + QStringLiteral("\r\n\r\n") +
         kTailNote;
}

}  // namespace

frmView::frmView(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmView"));
  WindowRole::ExposeAsFrame();
  txbText1_ = new QPlainTextEdit(this);
  txbText1_->setObjectName(QStringLiteral("txbText1"));
  txbText1_->setReadOnly(true);
  // The help text lines its columns and tables up with blanks.
  txbText1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  txbText1_->viewport()->installEventFilter(this);
  cmdCopyToClipboard_ = new QPushButton(QStringLiteral("Copy to clipboard"), this);
  cmdCopyToClipboard_->setObjectName(QStringLiteral("cmdCopyToClipboard"));
  cmdClose_ = new QPushButton(QStringLiteral("Close"), this);
  cmdClose_->setObjectName(QStringLiteral("cmdClose"));
  connect(cmdCopyToClipboard_, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
  connect(cmdClose_, &QPushButton::clicked, this, [this] { close(); });
  setMinimumSize(Twips::ToPixels(kMinWidth, this), Twips::ToPixels(kMinHeight, this));
  ShowCopyCaption(false);
  ApplyLayout();
}

void frmView::Activate() {
  cmdClose_->setText(QStringLiteral("Close"));
  txbText1_->clear();
  ShowCopyCaption(false);
  cmdCopyToClipboard_->setVisible(!ViewerCopyHidden);
  cmdCopyToClipboard_->setEnabled(true);
  txbText1_->setReadOnly(true);
  ApplyLayout();
  txbText1_->setPlainText(TextToShow(ReadTextStart(ViewerFilePath)));
  txbText1_->moveCursor(QTextCursor::Start);
  txbText1_->viewport()->update();
}

void frmView::ShowCopyCaption(bool textSelected) {
  cmdCopyToClipboard_->setText(textSelected ? QStringLiteral("Copy selected text to clipboard")
                                            : QStringLiteral("Copy to clipboard"));
  cmdCopyToClipboard_->setFixedWidth(
      Twips::ToPixels(textSelected ? kCopySelectedWidth : kCopyWidth, this));
}

void frmView::ApplyLayout() {
  const int margin = Twips::ToPixels(kTextMargin, this);
  const int textWidth = std::max(0, width() - Twips::ToPixels(kTextNarrower, this));
  const int textHeight = std::max(0, height() - Twips::ToPixels(kTextLower, this));
  txbText1_->setGeometry(margin, margin, textWidth, textHeight);
  const int buttonTop = margin + textHeight + Twips::ToPixels(kButtonGap, this);
  const int buttonHeight =
      std::max(cmdCopyToClipboard_->sizeHint().height(), cmdClose_->sizeHint().height());
  cmdCopyToClipboard_->setGeometry(margin, buttonTop, cmdCopyToClipboard_->width(), buttonHeight);
  const int closeWidth =
      std::max(cmdClose_->sizeHint().width(), Twips::ToPixels(kCloseWidth, this));
  cmdClose_->setGeometry(margin + textWidth - closeWidth, buttonTop, closeWidth, buttonHeight);
}

void frmView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isMinimized()) return;
  const QSize least = minimumSize();
  if (width() < least.width() || height() < least.height()) {
    resize(std::max(width(), least.width()), std::max(height(), least.height()));
    return;
  }
  ApplyLayout();
}

void frmView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool frmView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txbText1_->viewport() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      cmdCopyToClipboard_->isVisibleTo(this) && cmdCopyToClipboard_->isEnabled()) {
    // The selection is made by the press and the moves before this release.
    ShowCopyCaption(txbText1_->textCursor().hasSelection());
    ApplyLayout();
  }
  return QWidget::eventFilter(watched, event);
}

void frmView::CopyToClipboard() {
  if (!txbText1_->document()->isEmpty()) {
    const QTextCursor cursor = txbText1_->textCursor();
    QString text = cursor.hasSelection() ? cursor.selectedText() : txbText1_->toPlainText();
    // A selection marks its line ends as paragraph separators.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
  }
  ShowCopyCaption(false);
  ApplyLayout();
  cmdClose_->setFocus(Qt::OtherFocusReason);
}

std::string HelpFilePath() {
  return Platform::ProgramFilePath(Platform::ProgramFolders(), kHelpFileName);
}

void ShowHelp(frmView& viewer, QWidget* mainWindow) {
  if (viewer.isMinimized()) viewer.showNormal();
  if (mainWindow != nullptr && viewer.windowState() == Qt::WindowNoState) {
    const QPoint corner = mainWindow->frameGeometry().topLeft();
    viewer.move(corner.x() + Twips::ToPixels(150, mainWindow),
                corner.y() + Twips::ToPixels(450, mainWindow));
    viewer.resize(mainWindow->size());
  }
  viewer.ViewerFilePath = HelpFilePath();
  viewer.setWindowTitle(QStringLiteral("Help for Kexwell"));
  viewer.ViewerCopyHidden = true;
  if (mainWindow != nullptr) viewer.setWindowIcon(mainWindow->windowIcon());
  viewer.show();
  viewer.raise();
  viewer.activateWindow();
  viewer.Activate();
}
