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

  QPlainTextEdit* Text() { return window.findChild<QPlainTextEdit*>("txbText"); }
  QPushButton* Button(const char* name) { return window.findChild<QPushButton*>(name); }
  static std::string Clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }

  TempFolder folder;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  RunHost host;
  PurgeRun run{settings, dialogs, host};
  const RunRequest listing{RunKind::List, folder.Path(), "*.txt"};
  frmReport window;
};

TEST_F(ReportWindowTest, TheReportGrowsByAppendingAndIsReplacedWhenCutBack) {
  for (const std::string report :
       {"heading\r\n", "heading\r\nbig.dat (9 bytes) purging ___",
        "heading\r\nbig.dat (9 bytes) purging 1__", "heading\r\nbig.dat (9 bytes) purged\r\n",
        "other"}) {
    window.ShowReportText(report);
    EXPECT_EQ(Text()->toPlainText(), ToDisplayText(report));
    EXPECT_EQ(window.ReportText(), report);
    EXPECT_TRUE(Text()->textCursor().atEnd());
  }
}

TEST_F(ReportWindowTest, DuringTheRunItCannotBeClosedAndAtItsEndTheWholeReportIsCopied) {
  WriteFile(folder / "a.txt", "12345");
  window.BeginRun(run, listing);
  EXPECT_FALSE(window.close());
  QTest::keyClick(Text(), Qt::Key_Escape);
  EXPECT_TRUE(window.isVisible()) << "nor by Escape";
  EXPECT_FALSE(Button("cmdClose")->isVisible() || Button("cmdCopyToClipboard")->isVisible());
  window.ShowReportText("partial report\r\n");
  Text()->selectAll();  // a selection made during the run does not stand in for the report
  run.ProcessFiles(listing);
  window.EndRun();
  const std::string report = run.Report();
  EXPECT_EQ(Clipboard(), report);

  // Copy takes the selection made with the mouse.
  QPushButton* copy = Button("cmdCopyToClipboard");
  QTextCursor cursor = Text()->textCursor();
  cursor.setPosition(0);
  cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 2);
  Text()->setTextCursor(cursor);
  QTest::mouseRelease(Text()->viewport(), Qt::LeftButton);
  EXPECT_EQ(copy->text().toStdString(), "Copy selected text to clipboard");
  QTest::mouseClick(copy, Qt::LeftButton);
  const std::size_t secondBreak = report.find("\r\n", report.find("\r\n") + 2);
  EXPECT_EQ(Clipboard(), report.substr(0, secondBreak + 2));
  EXPECT_EQ(window.focusWidget(), Button("cmdClose"));
  QTest::keyClick(Text(), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(ReportWindowTest, TheCountBeforeAPurgeOffersOnlyStopAndThenTheLastReportIsBack) {
  window.ShowReportText("last report");
  window.BeginCount(run);
  EXPECT_FALSE(window.close());
  EXPECT_EQ(Text()->toPlainText(), "");
  EXPECT_TRUE(Button("cmdStop")->isVisible());
  EXPECT_FALSE(Button("cmdClose")->isVisible() || Button("cmdCopyToClipboard")->isVisible());
  window.EndCount();
  EXPECT_EQ(Text()->toPlainText(), "last report");
  EXPECT_FALSE(Button("cmdStop")->isVisible());
}

}  // namespace
