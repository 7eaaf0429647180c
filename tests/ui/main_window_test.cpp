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
  int untouched = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "sel"))
    untouched += ReadFile(entry.path().string()) == std::string(1 << 20, 'x');
  EXPECT_GT(untouched, 0) << "the purge stopped before the later files";
}

TEST_F(MainWindowTest, OneFileDroppedOnTheWindowBecomesTheTargetButNotSeveral) {
  const QUrl first = QUrl::fromLocalFile(QString::fromStdString(WriteFile(folder / "first.txt", "1")));
  const QUrl second = QUrl::fromLocalFile(QString::fromStdString(WriteFile(folder / "second.txt", "2")));
  const auto drop = [this](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &dropped);
    return enter.isAccepted();
  };
  EXPECT_FALSE(drop({first, second}));
  EXPECT_NE(settings.target.TargetFilespec, "first.txt");
  EXPECT_TRUE(drop({second}));
  EXPECT_EQ(settings.target.TargetFolder + settings.target.TargetFilespec, folder / "second.txt");
}
