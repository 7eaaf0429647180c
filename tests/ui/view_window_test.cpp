#include "ui/view_window.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <string>

#include "support/temp_folder.h"
#include "ui/twips.h"

using namespace TestSupport;

namespace {

const QString kHeadNote = QStringLiteral(
    "NOTE: This file is too large to display entirely in this textbox.\r\n"
    "To view the entire contents of the file load it into NotePad,\r\n"
    "WordPad or some other text editor.\r\n\r\n");
const QString kTailNote =
    QStringLiteral("NOTE: Entire contents of file have not been displayed.\r\n");

class ViewerTest : public ::testing::Test {
 protected:
  QPlainTextEdit* Text() { return viewer.findChild<QPlainTextEdit*>(QStringLiteral("txbText1")); }
  QPushButton* Button(const char* name) {
    return viewer.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  // The text box's text with its line ends as the file and the notes have them.
  QString Shown() {
    return Text()->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  }

  // Shows a file of the given text.
  void View(const std::string& text, bool copyHidden = false) {
    viewer.ViewerFilePath = WriteFile(folder / "view.txt", text);
    viewer.ViewerCopyHidden = copyHidden;
    viewer.show();
    viewer.Activate();
  }

  int Pixels(int twips) { return Twips::ToPixels(twips, &viewer); }

  TempFolder folder;
  frmView viewer;
};

TEST_F(ViewerTest, AFileShorterThanTheLimitInCharactersIsShownWholeAndAMissingOneNotAtAll) {
  View(std::string(65529, 'x'));
  EXPECT_EQ(Text()->toPlainText(), QString(65529, QLatin1Char('x')));
  EXPECT_TRUE(Text()->isReadOnly());
  EXPECT_EQ(Text()->font(), QFontDatabase::systemFont(QFontDatabase::FixedFont))
      << "the help text's tables line up";
  EXPECT_EQ(Button("cmdClose")->text(), "Close");
  std::string text;
  for (int i = 0; i < 65529; ++i) text += "\xC3\xA9";  // é, two bytes in UTF-8
  View(text);
  EXPECT_EQ(Text()->toPlainText(), QString(65529, QChar(0xE9)));

  viewer.ViewerFilePath = folder / "missing.txt";
  viewer.Activate();
  EXPECT_EQ(Text()->toPlainText(), "");
  View("earlier text");
  viewer.ViewerFilePath = folder.Path();  // a folder is no text file either
  viewer.Activate();
  EXPECT_EQ(Text()->toPlainText(), "");
  QTest::keyClick(Text(), Qt::Key_Escape);
  EXPECT_FALSE(viewer.isVisible()) << "Escape in the text closes the viewer";
}

TEST_F(ViewerTest, AFileAtTheLimitIsShownBetweenTheTwoNotes) {
  View(std::string(70000, 'x'));
  const QString shown = Shown();
  const qsizetype body = 65530 - kHeadNote.size() - kTailNote.size();
  EXPECT_EQ(shown, kHeadNote + QString(body, QLatin1Char('x')) + "\r\n\r\n" + kTailNote);
  EXPECT_EQ(shown.size(), 65534);

  View(std::string(65530, 'x'));
  EXPECT_EQ(Shown().size(), 65534);
  EXPECT_TRUE(Shown().startsWith(kHeadNote));
}

TEST_F(ViewerTest, ResizingBelowTheMinimumSnapsBackAndTheBoxFollowsTheWindow) {
  View("text");
  viewer.resize(100, 50);
  EXPECT_EQ(viewer.size(), QSize(Pixels(8000), Pixels(2000)));
  viewer.resize(900, 500);
  QTest::qWait(0);
  EXPECT_EQ(Text()->size(), QSize(900 - Pixels(450), 500 - Pixels(1200)));
}

TEST_F(ViewerTest, TheCopyButtonOffersTheSelectionAfterAMouseRelease) {
  View("first line\nsecond line\n");
  QPushButton* copy = Button("cmdCopyToClipboard");
  EXPECT_TRUE(copy->isVisible());
  EXPECT_EQ(copy->text(), "Copy to clipboard");
  EXPECT_EQ(copy->width(), Pixels(3270));

  QTextCursor cursor = Text()->textCursor();
  cursor.setPosition(6);
  cursor.setPosition(17, QTextCursor::KeepAnchor);
  Text()->setTextCursor(cursor);
  QTest::mouseRelease(Text()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(copy->text(), "Copy selected text to clipboard");
  EXPECT_EQ(copy->width(), Pixels(4425));

  QTest::mouseClick(copy, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "line\nsecond");
  EXPECT_EQ(copy->width(), Pixels(3270));
  EXPECT_EQ(viewer.focusWidget(), Button("cmdClose"));

  Text()->moveCursor(QTextCursor::Start);
  QTest::mouseRelease(Text()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(copy->text(), "Copy to clipboard");
  QTest::mouseClick(copy, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "first line\nsecond line\n");
}

TEST_F(ViewerTest, HelpShowsTheShippedFileBesideTheMainWindowAndRestoresAMinimisedViewer) {
  QWidget mainWindow;
  mainWindow.setGeometry(100, 100, 1000, 700);
  mainWindow.show();
  ShowHelp(viewer, &mainWindow);

  const std::string path = HelpFilePath();
  ASSERT_EQ(path.substr(path.size() - 11), "kx_help.txt");
  const QString help = QString::fromUtf8(QByteArray::fromStdString(ReadFile(path)));
  ASSERT_GT(help.size(), 5000);
  EXPECT_LT(help.size(), frmView::kMaxCharacters);
  EXPECT_EQ(Text()->toPlainText(), QString(help).remove(QLatin1Char('\r')));
  EXPECT_EQ(viewer.windowTitle(), "Help for Kexwell");
  EXPECT_FALSE(Button("cmdCopyToClipboard")->isVisible());
  EXPECT_EQ(viewer.size(), mainWindow.size());
  EXPECT_EQ(viewer.pos(), mainWindow.frameGeometry().topLeft() + QPoint(Pixels(150), Pixels(450)));

  Text()->setPlainText(QStringLiteral("changed"));
  viewer.showMinimized();
  ShowHelp(viewer, &mainWindow);
  EXPECT_FALSE(viewer.isMinimized());
  EXPECT_EQ(Text()->toPlainText(), QString(help).remove(QLatin1Char('\r')));
}

}  // namespace
