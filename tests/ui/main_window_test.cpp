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
#include <map>

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
  MainWindowTest() { EXPECT_TRUE(LoadProgramTextsOrTell(dialogs)); }

  std::string Text(const char* label) { return window.Label(label)->text().toStdString(); }

  // Closes the next modal dialog that opens, with reject().
  static void CloseNextDialog() {
    QTimer::singleShot(0, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
    });
  }

  // Starts "Purge folders" of the started window on the subfolder "sel" of the folder, holding
  // count files of 1 MiB, through its buttons; returns once the purge has shown its first file.
  void StartFolderPurge(int count) {
    std::filesystem::create_directory(folder / "sel");
    for (int i = 0; i < count; ++i)
      WriteFile(folder / ("sel/f" + std::to_string(i)), std::string(1 << 20, 'x'));
    dialogs.Answer(MessageAnswer::Yes);
    dialogs.Choose(folder.Path());
    dialogs.Answer(MessageAnswer::OK);  // the summary
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      auto* reading = dialog->findChild<QLabel*>("lblReading");
      ASSERT_TRUE(QTest::qWaitFor([&] { return reading->isHidden(); }));
      auto* row = dialog->findChild<QCheckBox*>("chkSubfolder_0");
      ASSERT_NE(row, nullptr);
      QTest::mouseClick(row, Qt::LeftButton);
      QTest::mouseClick(dialog->findChild<QPushButton*>("cmdAccept"), Qt::LeftButton);
    });
    QTest::mouseClick(window.Button("cmdSpecifyDirectory_1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return Text("lblPurgeFoldersMessage").find("Now purging") != std::string::npos; },
        20000));
  }

  std::map<std::string, QPoint> ButtonPlaces() {
    std::map<std::string, QPoint> places;
    for (QPushButton* button : window.findChildren<QPushButton*>())
      places[button->objectName().toStdString()] = button->mapTo(&window, QPoint(0, 0));
    return places;
  }

  TempFolder folder;
  ScriptedDialogs dialogs;
  ProgramSettings settings;
  frmMain window{settings, dialogs};
};

}  // namespace

TEST_F(MainWindowTest, StartsWithTheDefaultsWhenThereIsNoNextRunSetupAndHasNothingToReport) {
  window.Startup(folder / "none.usr");
  EXPECT_EQ(window.windowTitle().toStdString(), Language2::GetText(1) + " " + ProgramVersion());
  EXPECT_EQ(Text("lblDateRestriction"), "No date restriction");
  EXPECT_EQ(Text("lblTypeOfPurge"), "Random bytes plus zeros, 6 times (= 12 overwrites)");
  EXPECT_EQ(Text("lblDirectory"), Language2::GetText(4));
  EXPECT_EQ(Text("lblSingleFile"), "To purge multiple files, specify folder and files.");
  EXPECT_TRUE(window.blnStartupCompleted);
  EXPECT_TRUE(dialogs.shown.empty()) << "a missing next-run setup is silent";

  for (QPushButton* button : window.findChildren<QPushButton*>())
    EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();

  QTest::mouseClick(window.Button("cmdReportScreen"), Qt::LeftButton);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "Report window");
  EXPECT_EQ(dialogs.shown[0].text, "Nothing to report!");
}

TEST_F(MainWindowTest, StartsWithTheNextRunSetupWhenThereIsOne) {
  ProgramSettings saved;
  saved.target = {folder.Path(), "*.txt", false};
  saved.purgeType.SetPurgeType(1);
  saved.purgeType.SelectIndex(1, 0);
  saved.dateRestriction.lngOnlyBeforeThisJDN = 2453431;  // 1 March 2005
  ASSERT_TRUE(SaveSetupToFile(folder / "next.usr", saved));

  window.Startup(folder / "next.usr");
  EXPECT_EQ(Text("lblFiles"), "*.txt");
  EXPECT_EQ(Text("lblFiles2"), "(All files with extension \"txt\".)");
  EXPECT_EQ(Text("lblTypeOfPurge"), "Alternate bit patterns plus zeros, once (= 3 overwrites)");
  EXPECT_TRUE(Text("lblDateRestriction").ends_with("(March 1, 2005)"));
  EXPECT_EQ(Text("lblSingleFile"), "");
}

TEST_F(MainWindowTest, ABrokenProgramTextFileIsToldAndStopsTheStart) {
  // The shipped file is replaced by one whose line 2 has no text.
  const std::string path = Language2::ProgramTextPath();
  const std::string shipped = ReadFile(path);
  WriteFile(path, "1\tKexwell\n2\n");
  ScriptedDialogs told;
  EXPECT_FALSE(LoadProgramTextsOrTell(told));
  WriteFile(path, shipped);
  ASSERT_EQ(told.shown.size(), 1u);
  EXPECT_EQ(told.shown[0].text, "Missing string at line 2\r\n" + path);
  EXPECT_EQ(told.shown[0].icon, MessageIcon::Critical);
}

TEST_F(MainWindowTest, OneFileDroppedOnTheWindowBecomesTheTargetButNotSeveral) {
  window.Startup(folder / "none.usr");
  const std::string first = TestSupport::WriteFile(folder / "first.txt", "1");
  const std::string second = TestSupport::WriteFile(folder / "second.txt", "2");
  const auto drop = [this](const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
      urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
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
  EXPECT_EQ(settings.target.TargetFolder, folder.Path());
  EXPECT_EQ(settings.target.TargetFilespec, "second.txt");
}

// "kexwell FOLDER" (or "Open with" of a file manager) shows that folder as the target; what
// choosing it asks is tested with the target commands.
TEST_F(MainWindowTest, StartedWithAFolderShowsItAsTheTarget) {
  window.Startup(folder / "none.usr");
  window.show();
  const std::string other = WriteFile(folder / "b.txt", "b");
  dialogs.Answer(MessageAnswer::Yes);
  window.StartWithTargets({folder.Path(), other, other});
  EXPECT_EQ(settings.target.TargetFilespec, "*.*");
  EXPECT_NE(Text("lblDirectory").find(folder.Path()), std::string::npos) << Text("lblDirectory");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].title, "Kexwell");
  EXPECT_EQ(dialogs.shown[0].text, "Kexwell takes one target at a time: " + folder.Path() +
                                       "\r\nThe other 2 paths were left out.");
}

TEST_F(MainWindowTest, QuitRightAfterAFileDialogClosedDoesNotQuit) {
  window.Startup(folder / "none.usr");
  window.show();
  window.StartDialogGuard();
  QTest::mouseClick(window.Button("cmdQuit"), Qt::LeftButton);
  EXPECT_TRUE(window.isVisible());
  window.close();
  EXPECT_TRUE(window.isVisible()) << "closing the window is Quit, held back the same way";
  QTest::qWait(400);
  EXPECT_FALSE(window.DialogGuard()) << "the next tick of Clock2 clears the guard";
}

// What a folder purge shows and asks is tested with the subfolder purge; here, where the window
// shows it and that F10 reaches it.
TEST_F(MainWindowTest, AFolderPurgeShowsItsProgressWhereItWasAndF10CanStopIt) {
  window.Startup(folder / "none.usr");
  window.show();
  const std::map<std::string, QPoint> places = ButtonPlaces();
  StartFolderPurge(20);
  EXPECT_TRUE(window.Label("lblPurgeFoldersMessage")->isVisible());
  EXPECT_FALSE(window.Label("lblDirectory")->isVisible());
  EXPECT_FALSE(window.Button("cmdClear")->isVisible());
  EXPECT_EQ(ButtonPlaces(), places) << "no button moves while the labels and Clear are hidden";

  dialogs.Answer(MessageAnswer::Cancel);
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  QTest::keyRelease(&window, Qt::Key_F10);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window.Running(); }, 30000));
  EXPECT_TRUE(dialogs.AllAnswered());
  EXPECT_EQ(dialogs.shown.back().title, "Purge folders");
  EXPECT_EQ(Text("lblPurgeFoldersMessage"), "");
  EXPECT_TRUE(window.Button("cmdClear")->isVisible());
  int untouched = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "sel"))
    untouched += ReadFile(entry.path().string()) == std::string(1 << 20, 'x');
  EXPECT_GT(untouched, 0) << "the purge stopped before the later files";
}

TEST_F(MainWindowTest, CancellingTheTypeOfPurgeOrTheDateKeepsWhatTheWindowShows) {
  window.Startup(folder / "none.usr");
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2453431;
  CloseNextDialog();
  QTest::mouseClick(window.Button("cmdTypeOfPurge"), Qt::LeftButton);
  EXPECT_EQ(Text("lblTypeOfPurge"), "Random bytes plus zeros, 6 times (= 12 overwrites)");
  EXPECT_TRUE(window.findChild<QWidget*>("fraMenu")->isEnabled());
  CloseNextDialog();
  QTest::mouseClick(window.Button("cmdOnlyBefore"), Qt::LeftButton);
  EXPECT_EQ(settings.dateRestriction.lngOnlyBeforeThisJDN, 2453431);
  EXPECT_TRUE(Text("lblDateRestriction").ends_with("(March 1, 2005)"));
}

TEST_F(MainWindowTest, SetupOpensItsPanelAndDisablesTheCommands) {
  window.Startup(folder / "none.usr");
  window.show();
  QTest::mouseClick(window.Button("cmdSetup"), Qt::LeftButton);
  QWidget* panel = window.findChild<QWidget*>("fraSetup");
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_FALSE(window.findChild<QWidget*>("fraMenu")->isEnabled());
  QTest::mouseClick(window.findChild<QPushButton*>("cmdKeepSetup"), Qt::LeftButton);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_TRUE(window.findChild<QWidget*>("fraMenu")->isEnabled());
}

TEST_F(MainWindowTest, PurgeFilesThroughTheButtonsPurgesTheFolderButKeepsIt) {
  WriteFile(folder / "a.txt", "secret one");
  WriteFile(folder / "b.txt", "secret two");
  window.Startup(folder / "none.usr");
  settings.target = {folder.Path(), "*.*", false};
  window.RefreshTargetDisplay();
  window.show();
  dialogs.Answer(MessageAnswer::No);  // "Delete folder ...?"
  // The confirmation comes once the files are counted on the worker thread.
  QTimer confirm;
  QObject::connect(&confirm, &QTimer::timeout, [&confirm] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      confirm.stop();
      dialog->findChild<QPushButton*>("cmdDoPurge")->click();
    }
  });
  confirm.start(10);

  QTest::mouseClick(window.Button("cmdProcessFiles_1"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window.Running(); }, 10000));

  EXPECT_FALSE(std::filesystem::exists(folder / "a.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder / "b.txt"));
  EXPECT_TRUE(std::filesystem::exists(folder.Path()));
  EXPECT_NE(window.lastReport.find("Number of files *.*: 2\r\nNumber of files purged: 2\r\n"),
            std::string::npos)
      << window.lastReport;
  EXPECT_TRUE(dialogs.AllAnswered());
  EXPECT_TRUE(window.findChild<QWidget*>("fraMenu")->isEnabled());
}
