#include "ui/view_window.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <string>

#include "support/temp_folder.h"

using namespace TestSupport;

namespace {

class ViewerTest : public ::testing::Test {
 protected:
  QPlainTextEdit* Text() { return viewer.findChild<QPlainTextEdit*>(QStringLiteral("txbText1")); }

  // Shows the file at path; gives the text shown, its line ends as in the file.
  QString View(const std::string& path) {
    viewer.ViewerFilePath = path;
    viewer.show();
    viewer.Activate();
    return Text()->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  }

  TempFolder folder;
  frmView viewer;
};

TEST_F(ViewerTest, AFileBeyondTheLimitIsShownBetweenTwoNotesAFolderNotAtAllAndEscapeCloses) {
  const QString head = QStringLiteral(
      "NOTE: This file is too large to display entirely in this textbox.\r\n"
      "To view the entire contents of the file load it into NotePad,\r\n"
      "WordPad or some other text editor.\r\n\r\n");
  const QString tail = QStringLiteral("NOTE: Entire contents of file have not been displayed.\r\n");
  const qsizetype body = 65530 - head.size() - tail.size();
  EXPECT_EQ(View(WriteFile(folder / "long.txt", std::string(65530, 'x'))),
            head + QString(body, QLatin1Char('x')) + "\r\n\r\n" + tail);

  EXPECT_EQ(View(folder.Path()), "");  // a folder is no text file
  QTest::keyClick(Text(), Qt::Key_Escape);
  EXPECT_FALSE(viewer.isVisible()) << "Escape in the text closes the viewer";
}

}  // namespace
