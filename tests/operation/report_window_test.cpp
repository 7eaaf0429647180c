#include "operation/report_window.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/qt_user_dialogs.h"

using namespace TestSupport;

namespace {

class ReportWindowTest : public ::testing::Test {
 protected:
  ReportWindowTest() {
    settings.target = {folder.Path(), "*.txt", false};
    window.show();
  }

  // A listing of the folder, run to its end in the window as the controller runs it.
  void ListToTheEnd() {
    window.BeginRun(run, listing);
    run.ProcessFiles(listing);
    window.EndRun();
  }

  QPlainTextEdit* Text() { return window.findChild<QPlainTextEdit*>("txbText"); }
  QPushButton* Button(const char* name) { return window.findChild<QPushButton*>(name); }

  TempFolder folder;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  RunHost host;
  PurgeRun run{settings, dialogs, host};
  const RunRequest listing{RunKind::List, folder.Path(), "*.txt"};
  frmReport window;
};

TEST_F(ReportWindowTest, TheReportGrowsByAppendingAndIsReplacedWhenCutBack) {
  const std::vector<std::string> reports = {"heading\r\n",
                                            "heading\r\nbig.dat (9 bytes) purging ___",
                                            "heading\r\nbig.dat (9 bytes) purging 1__",
                                            "heading\r\nbig.dat (9 bytes) purged\r\n", "other"};
  for (const std::string& report : reports) {
    window.ShowReportText(report);
    EXPECT_EQ(Text()->toPlainText(), ToDisplayText(report));
    EXPECT_EQ(window.ReportText(), report);
    EXPECT_TRUE(Text()->textCursor().atEnd());
  }
}

TEST_F(ReportWindowTest, TheCopyButtonCopiesTheSelectionOrElseTheWholeReport) {
  WriteFile(folder / "a.txt", "12345");
  WriteFile(folder / "b.txt", "1");
  ListToTheEnd();
  const std::string report = run.Report();
  QPushButton* copy = Button("cmdCopyToClipboard");
  ASSERT_TRUE(copy->isVisible());
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), report);
  EXPECT_EQ(copy->pos(), QPoint(Button("cmdStop")->x(), Button("cmdClose")->y()));
  EXPECT_EQ(copy->text().toStdString(), "Copy to clipboard");
  const int narrow = copy->width();

  // Select the first two lines with the mouse.
  QTextCursor cursor = Text()->textCursor();
  cursor.setPosition(0);
  cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 2);
  Text()->setTextCursor(cursor);
  QTest::mouseRelease(Text()->viewport(), Qt::LeftButton);
  EXPECT_EQ(copy->text().toStdString(), "Copy selected text to clipboard");
  EXPECT_GT(copy->width(), narrow);

  QTest::mouseClick(copy, Qt::LeftButton);
  const std::size_t secondBreak = report.find("\r\n", report.find("\r\n") + 2);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), report.substr(0, secondBreak + 2));
  EXPECT_EQ(copy->text().toStdString(), "Copy to clipboard");
  EXPECT_EQ(window.focusWidget(), Button("cmdClose"));

  Text()->moveCursor(QTextCursor::End);
  QTest::mouseRelease(Text()->viewport(), Qt::LeftButton);
  EXPECT_EQ(copy->text().toStdString(), "Copy to clipboard");
}

TEST_F(ReportWindowTest, ASelectionMadeDuringTheRunDoesNotStandInForTheReportAtTheEnd) {
  WriteFile(folder / "a.txt", "1");
  window.BeginRun(run, listing);
  window.ShowReportText("partial report\r\n");
  Text()->selectAll();
  run.ProcessFiles(listing);
  window.EndRun();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), run.Report());
}

TEST_F(ReportWindowTest, TheWindowCannotBeClosedWhileItsRunIsOn) {
  window.BeginRun(run, listing);
  EXPECT_FALSE(window.close());
  QTest::keyClick(Text(), Qt::Key_Escape);
  EXPECT_TRUE(window.isVisible()) << "nor by Escape";
  EXPECT_FALSE(Button("cmdClose")->isVisible() || Button("cmdCopyToClipboard")->isVisible());
  run.ProcessFiles(listing);
  window.EndRun();
  QTest::keyClick(Text(), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  window.show();

  // The count before a purge offers only Stop; afterwards the last report is back as it was.
  const QString lastReport = Text()->toPlainText();
  window.BeginCount(run);
  EXPECT_FALSE(window.close());
  EXPECT_EQ(Text()->toPlainText(), "");
  EXPECT_TRUE(Button("cmdStop")->isVisible());
  EXPECT_FALSE(Button("cmdClose")->isVisible() || Button("cmdCopyToClipboard")->isVisible());
  window.EndCount();
  EXPECT_EQ(Text()->toPlainText(), lastReport);
  EXPECT_FALSE(Button("cmdStop")->isVisible());
  EXPECT_TRUE(Button("cmdCopyToClipboard")->isVisible());

  QTest::mouseClick(Button("cmdClose"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
