#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "operation/program_settings.h"
#include "setups/program_start.h"
#include "setups/setup_file.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "text/program_text.h"

using namespace TestSupport;

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    EXPECT_TRUE(LoadProgramTextsOrTell(dialogs));
    window.Startup(folder / "none.usr");
    window.show();
  }

  std::string Text(const char* label) { return window.Label(label)->text().toStdString(); }
  void Click(const char* button) { QTest::mouseClick(window.Button(button), Qt::LeftButton); }

  TempFolder folder;
  ScriptedDialogs dialogs;
  ProgramSettings settings;
  frmMain window{settings, dialogs};
};

}  // namespace

// What a folder purge shows and asks is tested with the subfolder purge; here, that the window
// shows its progress and that F10 reaches it.
TEST_F(MainWindowTest, F10StopsAFolderPurge) {
  std::filesystem::create_directory(folder / "sel");
  for (int i = 0; i < 20; ++i)
    WriteFile(folder / ("sel/f" + std::to_string(i)), std::string(1 << 20, 'x'));
  dialogs.Answer(MessageAnswer::Yes);
  dialogs.Choose(folder.Path());
  dialogs.Answer(MessageAnswer::OK);  // the summary
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    auto* reading = dialog->findChild<QLabel*>("lblReading");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reading->isHidden(); }));
    QTest::mouseClick(dialog->findChild<QCheckBox*>("chkSubfolder_0"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdAccept"), Qt::LeftButton);
  });
  Click("cmdSpecifyDirectory_1");
  ASSERT_TRUE(QTest::qWaitFor(
      [this] { return Text("lblPurgeFoldersMessage").find("Now purging") != std::string::npos; },
      20000));

  dialogs.Answer(MessageAnswer::Cancel);
  QApplication::setActiveWindow(&window);
  QTest::keyRelease(&window, Qt::Key_F10);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window.Running(); }, 30000));
  EXPECT_TRUE(dialogs.AllAnswered()) << "the purge asked whether to go on, and stopped";
}

TEST_F(MainWindowTest, ShowsTheNextRunSetupAndPurgeFilesThroughTheButtonsPurgesItsFiles) {
  Click("cmdReportScreen");
  ASSERT_EQ(dialogs.shown.size(), 1u) << "a missing next-run setup is silent";
  EXPECT_EQ(dialogs.shown[0].text, "Nothing to report!");
  WriteFile(folder / "a.txt", "secret one");
  WriteFile(folder / "b.txt", "secret two");
  ProgramSettings saved;
  saved.target = {folder.Path(), "*.txt", false};
  ASSERT_TRUE(SaveSetupToFile(folder / "next.usr", saved));
  window.Startup(folder / "next.usr");
  EXPECT_EQ(Text("lblFiles2"), "(All files with extension \"txt\".)");
  // The confirmation comes once the files are counted on the worker thread.
  QTimer confirm;
  QObject::connect(&confirm, &QTimer::timeout, [&confirm] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      confirm.stop();
      dialog->findChild<QPushButton*>("cmdDoPurge")->click();
    }
  });
  confirm.start(10);
  Click("cmdProcessFiles_1");
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window.Running(); }, 10000));
  EXPECT_FALSE(std::filesystem::exists(folder / "a.txt"));
}
