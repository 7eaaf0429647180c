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

  // Shows a file of the given text, or the file at path when path is given.
  void View(const std::string& text, const std::string& path = "") {
    viewer.ViewerFilePath = path.empty() ? WriteFile(folder / "view.txt", text) : path;
    viewer.show();
    viewer.Activate();
  }

  TempFolder folder;
  frmView viewer;
};

TEST_F(ViewerTest, AFileUpToTheLimitIsShownWholeBeyondItBetweenTwoNotesAndAMissingOneNotAtAll) {
  std::string accented;
  for (int i = 0; i < 65529; ++i) accented += "\xC3\xA9";  // é, two bytes in UTF-8
  View(accented);
  EXPECT_EQ(Text()->toPlainText(), QString(65529, QChar(0xE9)));

  View(std::string(65530, 'x'));
  const QString head = QStringLiteral(
      "NOTE: This file is too large to display entirely in this textbox.\r\n"
      "To view the entire contents of the file load it into NotePad,\r\n"
      "WordPad or some other text editor.\r\n\r\n");
  const QString tail = QStringLiteral("NOTE: Entire contents of file have not been displayed.\r\n");
  const qsizetype body = 65530 - head.size() - tail.size();
  EXPECT_EQ(Text()->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")),
            head + QString(body, QLatin1Char('x')) + "\r\n\r\n" + tail);

  View("", folder.Path());  // a folder is no text file
  EXPECT_EQ(Text()->toPlainText(), "");
  QTest::keyClick(Text(), Qt::Key_Escape);
  EXPECT_FALSE(viewer.isVisible()) << "Escape in the text closes the viewer";
}

}  // namespace
