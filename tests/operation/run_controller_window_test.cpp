#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "operation/confirm_files_window.h"
#include "operation/run_window_fixture.h"
#include "platform/drives.h"
#include "support/handle_step_hook.h"
#include "text/str_proc.h"
#include "ui/qt_user_dialogs.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Answers the per-file confirmations with the given buttons, in order, while each is modal, and
// notes what each showed and where.
class ConfirmationClicker {
 public:
  ConfirmationClicker(frmReport& report, std::vector<const char*> buttons)
      : report_(report), buttons_(std::move(buttons)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenDialog(); });
    timer_.start(10);
  }

  std::vector<std::string> paths;
  std::string captions;
  bool runButtonsHidden = true;
  bool placedOnReport = true;

 private:
  void AnswerOpenDialog() {
    auto* dialog = qobject_cast<frmConfirmFiles*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || paths.size() >= buttons_.size()) return;
    const std::string label = dialog->findChild<QLabel*>("lblFile")->text().toStdString();
    paths.push_back(label.substr(0, label.find("     ")));
    captions = dialog->windowTitle().toStdString() + "|" +
               dialog->findChild<QLabel*>("lblQuestion")->text().toStdString();
    runButtonsHidden &= !report_.findChild<QPushButton*>("cmdPauseContinue")->isVisible();
    const QRect own = dialog->frameGeometry();
    const QRect report = report_.frameGeometry();
    // Centred on the report window, unless that would take it past an edge of the screen.
    const QRect screen = dialog->screen()->availableGeometry();
    placedOnReport &= (own.center().x() == report.center().x() || own.left() == screen.left() ||
                       own.right() == screen.right()) &&
                      own.bottom() == report.bottom() - Twips::ToPixels(100, &report_);
    QTest::mouseClick(dialog->findChild<QPushButton*>(buttons_[paths.size() - 1]), Qt::LeftButton);
  }

  frmReport& report_;
  std::vector<const char*> buttons_;
  QTimer timer_;
};

}  // namespace

TEST_F(RunWindowTest, APurgeRunsToItsSummaryAndLeavesTheReportEverywhere) {
  fs::create_directory(folder / "sub");
  WriteFile(folder / "a.txt", Repeat('a', 10));
  WriteFile(folder / "b.txt", Repeat('b', 2000));
  WriteFile(folder / "sub/c.txt", Repeat('c', 5));
  Target("*.*", true);
  dialogs.Answer(MessageAnswer::No);  // "Delete folder ...?"

  controller.PurgeFiles();
  EXPECT_FALSE(main.fraMenu->isEnabled());
  WaitForTheEnd();
  EXPECT_EQ(main.captionHistory,
            (std::vector<std::string>{"lblLargePurgeMessage=Now counting files ...",
                                      "lblLargePurgeMessage="}));
  EXPECT_TRUE(Contains(confirmationMessages.at(0), "these three files."));

  const std::string report = controller.Run().Report();
  EXPECT_TRUE(EndsWith(report,
                       "\r\n\r\nNumber of files *.*: 3\r\nNumber of files purged: 3\r\n"
                       "Sum of sizes of files purged: " +
                           StrProc::SizeToText(2015, 2) +
                           "\r\n\r\nNumber of folders removed: 1\r\n" + kDateLine));
  EXPECT_TRUE(Contains(report, "\r\nb.txt (2,000 bytes) purged\r\n"));
  EXPECT_EQ(Shown(), ToDisplayText(report).toStdString());
  EXPECT_EQ(Clipboard(), report);
  EXPECT_EQ(main.lastReport, report);
  EXPECT_EQ(Status(), "Done");
  EXPECT_EQ(FilesLeft({"a.txt", "b.txt", "sub"}), 0);
  EXPECT_TRUE(fs::exists(folder.Path()));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Delete folder " + folder.Path() + "?");
  EXPECT_TRUE(main.fraMenu->isEnabled());
  EXPECT_TRUE(Button("cmdClose")->isVisible() && Button("cmdCopyToClipboard")->isVisible());
  EXPECT_FALSE(Button("cmdPauseContinue")->isVisible());
}

TEST_F(RunWindowTest, ACancelledConfirmationPurgesNothingAndSaysSo) {
  WriteFile(folder / "a.txt", "keep");
  Target("*.txt");
  doPurge = false;
  controller.PurgeFiles();
  WaitForTheEnd();

  EXPECT_FALSE(main.running || Report().isVisible());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title + "|" + dialogs.shown[0].text,
            "Purge cancelled|No files purged.");
  EXPECT_EQ(ReadFile(folder / "a.txt"), "keep");
  EXPECT_FALSE(controller.ShowReport());
}

TEST_F(RunWindowTest, ATargetFolderThatVanishesBeforeTheRunEndsCleanly) {
  const std::string gone = folder / "gone/";
  fs::create_directory(gone);
  WriteFile(gone + "a.txt", "x");
  settings.target = {gone, "*.*", false};
  afterConfirmation = [&] { fs::remove_all(gone); };
  controller.PurgeFiles();
  WaitForTheEnd();

  // Nothing to purge, the report says why, and a folder that is gone is not offered for deletion.
  EXPECT_TRUE(Contains(controller.Run().Report(),
                       gone + " (folder): cannot be read (no such file or directory).\r\n"));
  EXPECT_TRUE(EndsWith(controller.Run().Report(),
                       "Number of files purged: 0\r\n"
                       "Number of folders not purged: 1\r\n" +
                           std::string(kDateLine)));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(main.running);
}

TEST_F(RunWindowTest, AListingShowsItsFilesAndPutsTheEstimateInTheMainWindow) {
  WriteFile(folder / "a.txt", Repeat('a', 1536));
  WriteFile(folder / "b.txt", Repeat('b', 512));
  Target("*.txt");
  Platform::DriveInfo drive;
  ASSERT_FALSE(Platform::DriveOfPath(folder.Path(), drive));
  settings.purgeSpeeds.Set(drive.root, 100.0f, 1);
  main.captions["lblEstimatedTime"] = "an earlier estimate";

  controller.ListAndEstimate();
  EXPECT_EQ(Report().windowTitle().toStdString(), "List files *.txt");
  EXPECT_EQ(main.captions["lblEstimatedTime"], "");
  ASSERT_TRUE(Button("cmdStop")->isVisible());
  for (const char* name : {"cmdStop", "cmdPauseContinue"})
    EXPECT_EQ(Button(name)->width(), Pixels(1000)) << name;
  EXPECT_EQ(Button("cmdPauseContinue")->text().toStdString(), "Pause");
  WaitForTheEnd();

  const std::string report = controller.Run().Report();
  EXPECT_TRUE(Contains(report, "Sum of file sizes: " + StrProc::SizeToText(2048, 2)));
  EXPECT_TRUE(EndsWith(report, "Estimated purge time: less than a minute.\r\n"));
  EXPECT_EQ(main.captions["lblEstimatedTime"], "Less than a minute.");
  EXPECT_EQ(Clipboard(), report);
  EXPECT_EQ(ReadFile(folder / "a.txt"), Repeat('a', 1536));
}

TEST_F(RunWindowTest, AListingThatFindsNoFileSaysSoAtItsEnd) {
  WriteFile(folder / "a.txt", "new");
  Target("*.txt");
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2453431;  // 1 March 2005: a.txt is later
  controller.ListAndEstimate();
  WaitForTheEnd();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title + "|" + dialogs.shown[0].text,
            "No files found|There are no files satisfying this file specification");
  EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(RunWindowTest, PauseHoldsThePurgeAfterItsPassAndStopEndsItThere) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteFile(folder / name, name);
  Target("*.txt");
  GatedPurgeHost gate;
  controller.Run().Environment().host = &gate;
  controller.PurgeFiles();
  ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Entered(); }, 10000));

  QPushButton* pause = Button("cmdPauseContinue");
  EXPECT_FALSE(Button("cmdStop")->isVisible());
  EXPECT_EQ(pause->text().toStdString(), "Pause at next purge");
  EXPECT_EQ(pause->geometry(), QRect(Report().width() - Pixels(200) - Pixels(2500), pause->y(),
                                     Pixels(2500), pause->height()));
  QTest::mouseClick(pause, Qt::LeftButton);
  EXPECT_EQ(pause->text().toStdString(), "Continue");
  EXPECT_EQ(pause->width(), Pixels(1500));
  EXPECT_EQ(Status(), "Paused");
  ASSERT_TRUE(Button("cmdStop")->isVisible());
  QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
  // The pass under way is still being written: the window says so, and Close waits for it.
  EXPECT_EQ(Status(), "Stopping ...");
  for (const char* name : {"cmdStop", "cmdPauseContinue"})
    EXPECT_FALSE(Button(name)->isVisible() || Button(name)->isEnabled()) << name;
  ASSERT_TRUE(Button("cmdClose")->isVisible());
  EXPECT_FALSE(Button("cmdClose")->isEnabled());
  QCoreApplication::processEvents();
  EXPECT_EQ(Status(), "Stopping ...");
  gate.Open();
  WaitForTheEnd();

  // The pass under way ran to its end: that one file is purged, the others are untouched.
  EXPECT_EQ(FilesLeft({"a.txt", "b.txt", "c.txt"}), 2);
  const std::string report = controller.Run().Report();
  EXPECT_TRUE(Contains(report, "Number of files: 1\r\nPurge operation was stopped.\r\n"));
  EXPECT_EQ(Status(), "Stopped");
  EXPECT_TRUE(Button("cmdClose")->isEnabled());
  EXPECT_EQ(Clipboard(), report);
  QTest::mouseClick(Button("cmdClose"), Qt::LeftButton);
  EXPECT_FALSE(Report().isVisible());
}

TEST_F(RunWindowTest, TheFilesAreCountedOnTheWorkerAndStopThereCancelsThePurge) {
  fs::create_directory(folder / "sub");
  WriteFile(folder / "a.txt", "keep a");
  WriteFile(folder / "sub/b.txt", "keep b");
  Target("*.txt", true);
  GatedPurgeHost gate;
  StepTrap trap(Platform::HandleStep::BeforeOpenSubfolder, 1,
                [&](const std::string&) { gate.Yield(); });
  controller.PurgeFiles();
  ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Entered(); }, 10000));

  // The count is held in its walk; the window goes on and offers Stop in the report window.
  ASSERT_TRUE(QTest::qWaitFor([&] { return Report().isVisible(); }, 10000));
  EXPECT_EQ(main.captions["lblLargePurgeMessage"], "Now counting files ...");
  EXPECT_FALSE(main.fraMenu->isEnabled());
  EXPECT_EQ(Report().windowTitle().toStdString(), "Purge files");
  EXPECT_EQ(Shown(), "");
  ASSERT_TRUE(Button("cmdStop")->isVisible() && Button("cmdStop")->isEnabled());
  EXPECT_FALSE(Button("cmdPauseContinue")->isVisible() || Button("cmdClose")->isVisible());
  QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
  EXPECT_EQ(Status(), "Stopping ...");
  EXPECT_FALSE(Button("cmdStop")->isVisible() || Button("cmdClose")->isEnabled());
  EXPECT_TRUE(dialogs.shown.empty());
  gate.Open();
  WaitForTheEnd();

  EXPECT_TRUE(confirmationMessages.empty());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title + "|" + dialogs.shown[0].text,
            "Purge cancelled|No files purged.");
  EXPECT_EQ(ReadFile(folder / "a.txt"), "keep a");
  EXPECT_EQ(ReadFile(folder / "sub/b.txt"), "keep b");
  EXPECT_FALSE(Report().isVisible() || main.running);
  EXPECT_EQ(main.captions["lblLargePurgeMessage"], "");
  EXPECT_TRUE(main.fraMenu->isEnabled());
  EXPECT_FALSE(controller.ShowReport());
}

TEST_F(RunWindowTest, ContinueAfterAPauseLetsThePurgeFinish) {
  for (const char* name : {"a.txt", "b.txt"}) WriteFile(folder / name, name);
  Target("*.txt");
  dialogs.Answer(MessageAnswer::No);  // "Delete folder ...?"
  GatedPurgeHost gate;
  controller.Run().Environment().host = &gate;
  controller.PurgeFiles();
  ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Entered(); }, 10000));
  QTest::mouseClick(Button("cmdPauseContinue"), Qt::LeftButton);
  gate.Open();
  QTest::qWait(300);
  EXPECT_TRUE(controller.Running());
  EXPECT_EQ(FilesLeft({"a.txt", "b.txt"}), 1);

  QTest::mouseClick(Button("cmdPauseContinue"), Qt::LeftButton);
  EXPECT_EQ(Button("cmdPauseContinue")->text().toStdString(), "Pause at next purge");
  EXPECT_FALSE(Button("cmdStop")->isVisible());
  EXPECT_EQ(Status(), "");
  WaitForTheEnd();
  EXPECT_EQ(FilesLeft({"a.txt", "b.txt"}), 0);
  EXPECT_EQ(Status(), "Done");
}

TEST_F(RunWindowTest, EachFileIsConfirmedInItsWindowByEachOfItsFourButtons) {
  for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) WriteFile(folder / name, name);
  Target("*.txt");
  confirmEachFile = true;
  {
    ConfirmationClicker clicker(Report(), {"cmdYes", "cmdNo", "cmdPurgeAll"});
    controller.PurgeFiles();
    WaitForTheEnd();
    // The fourth file is purged without a question; only the file answered No is left.
    ASSERT_EQ(clicker.paths.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(fs::exists(clicker.paths[i]), i == 1);
    EXPECT_EQ(FilesLeft({"a.txt", "b.txt", "c.txt", "d.txt"}), 1);
    EXPECT_EQ(clicker.captions, "Confirm purging of this file|Purge this file?");
    EXPECT_TRUE(clicker.runButtonsHidden);
    EXPECT_TRUE(clicker.placedOnReport);
  }
  WriteFile(folder / "e.txt", "e");
  ConfirmationClicker clicker(Report(), {"cmdStopThisPurge"});
  controller.PurgeFiles();
  WaitForTheEnd();
  EXPECT_EQ(clicker.paths.size(), 1u);
  EXPECT_EQ(FilesLeft({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}), 2);
  const std::string report = controller.Run().Report();
  EXPECT_TRUE(Contains(report, "Number of files purged: 0\r\nPurge operation was stopped.\r\n"));
  EXPECT_EQ(Status(), "Stopped");
  EXPECT_EQ(Clipboard(), report);
}

TEST_F(RunWindowTest, ThePurgeQueryIsAnsweredOnTheWindowThreadForEachOfItsAnswers) {
  fs::create_directory(folder / "keep");  // the folder is never left empty
  Target("*.*");
  WriteFile(folder / "tool.exe", "MZ");
  const std::pair<MessageAnswer, const char*> runs[] = {
      {MessageAnswer::No, "tool.exe: \"exe\" files are not purged.\r\n"},
      {MessageAnswer::Cancel, "Purge operation was stopped."},
      {MessageAnswer::Yes, "tool.exe (2 bytes) purged\r\n"}};
  for (const auto& [answer, line] : runs) {
    dialogs.Answer(answer);
    controller.PurgeFiles();
    WaitForTheEnd();
    EXPECT_TRUE(Contains(controller.Run().Report(), line)) << line;
    EXPECT_EQ(FilesLeft({"tool.exe"}), answer == MessageAnswer::Yes ? 0 : 1);
  }
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[2].title, "Purge query");
}

TEST_F(RunWindowTest, ClosingTheProgramDuringARunStopsItAtItsNextPollAndWaitsForIt) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteFile(folder / name, name);
  Target("*.txt");
  auto closing = std::make_unique<RunController>(settings, dialogs, main, confirm);
  GatedPurgeHost gate;
  closing->Run().Environment().host = &gate;
  closing->PurgeFiles();
  ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Entered(); }, 10000));
  gate.Open();
  closing.reset();

  // The pass under way ended; nothing else was purged and nothing was asked.
  EXPECT_EQ(FilesLeft({"a.txt", "b.txt", "c.txt"}), 2);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(ConfirmFilesWindow, StaysOnTheScreenWhenTheReportWindowReachesPastAnEdge) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint reportCorners[] = {screen.topLeft() - QPoint(300, 300),
                                  screen.bottomRight() - QPoint(100, 50)};
  for (const QPoint& corner : reportCorners) {
    QWidget report(nullptr, Qt::Window);
    report.setGeometry(QRect(corner, QSize(400, 300)));
    report.show();
    frmConfirmFiles dialog;
    QRect shown;
    QTimer::singleShot(0, [&] {
      shown = dialog.frameGeometry();
      dialog.findChild<QPushButton*>("cmdNo")->click();
    });
    EXPECT_EQ(dialog.Ask("/a/file.txt", &report), FileConfirmation::Skip);
    EXPECT_TRUE(screen.contains(shown)) << corner.x() << "," << corner.y();
  }
}

namespace {

// Purges of free space through the run controller, on a drive with room for ten clusters that
// the fill files take as they are written. The first write waits at the gate, so that the test
// sees the report window while the purge is on.
class FreeSpaceWindowTest : public RunWindowTest {
 protected:
  FreeSpaceWindowTest() {
    FreeSpacePurge::Environment& environment = controller.Run().FreeSpaceEnvironment();
    environment.reserve = [](Platform::FileHandle&, std::int64_t, std::int64_t) {
      return std::make_error_code(std::errc::operation_not_supported);
    };
    environment.write = [this](Platform::FileHandle& file, const void* data, std::size_t size) {
      gate.Yield();
      const auto take = static_cast<std::size_t>(std::min<std::int64_t>(room_, size));
      if (!filled_) room_ -= static_cast<std::int64_t>(take);
      if (const std::error_code error = file.WriteAll(data, filled_ ? size : take)) return error;
      return filled_ || take == size ? std::error_code()
                                     : std::make_error_code(std::errc::no_space_on_device);
    };
    environment.querySpace = [this](const std::string&, Platform::DriveSpace& space) {
      filled_ = room_ == 0;
      space.availableBytes = space.freeBytes = filled_ ? 0 : 10 * 4096;
      return std::error_code();
    };
  }

  // Chooses the folder and answers the question.
  void PurgeFreeSpace(MessageAnswer answer) {
    dialogs.Choose(folder.Path());
    dialogs.Answer(answer);
    controller.PurgeFreeSpace();
  }

  GatedPurgeHost gate;

 private:
  std::int64_t room_ = 10 * 4096;
  bool filled_ = false;
};

TEST_F(FreeSpaceWindowTest, IsAskedWithTheDriveAndRunsInTheReportWindowWithStopAndPause) {
  Target("*.*");
  PurgeFreeSpace(MessageAnswer::Yes);
  ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Entered(); }, 10000));

  ASSERT_EQ(dialogs.choosers.size(), 1u);
  EXPECT_EQ(dialogs.choosers[0].folder, folder.Path());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  const MessageBoxRequest& question = dialogs.shown[0];
  EXPECT_EQ(question.title, "Purge free space");
  EXPECT_TRUE(question.text.starts_with("This fills the free space of Drive ")) << question.text;
  EXPECT_TRUE(Contains(question.text,
                       "\r\nType of purge: Alternate bit patterns plus zeros, once "
                       "(= 3 overwrites)\r\nEstimated time: "))
      << question.text;
  EXPECT_TRUE(EndsWith(question.text, "\r\n\r\nDo you wish to proceed?"));
  EXPECT_EQ(question.defaultButton, MessageAnswer::No);

  EXPECT_EQ(Report().windowTitle().toStdString(), "Purge free space");
  EXPECT_FALSE(main.fraMenu->isEnabled());
  EXPECT_TRUE(Button("cmdStop")->isVisible());
  EXPECT_EQ(Button("cmdPauseContinue")->text().toStdString(), "Pause");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return EndsWith(Shown(), "Overwrite 1 of 3 (bit pattern 10101010): 0%"); }, 10000))
      << Shown();
  gate.Open();
  WaitForTheEnd();

  const std::string report = controller.Run().Report();
  EXPECT_TRUE(Contains(report,
                       "\r\nOverwrite 3 of 3 (bit pattern 00000000): 40.00 KB\r\n\r\n"
                       "Free space overwritten: 40.00 KB (40,960 bytes), 3 of 3 "
                       "overwrites\r\n"))
      << report;
  EXPECT_EQ(Status(), "Done");
  EXPECT_EQ(Clipboard(), report);
  EXPECT_EQ(main.lastReport, report);
  EXPECT_TRUE(main.fraMenu->isEnabled());
  EXPECT_TRUE(fs::is_empty(FileSystemPath(folder.Path())));
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(FreeSpaceWindowTest, NoPurgesNothingAndStopDeletesTheFillFiles) {
  PurgeFreeSpace(MessageAnswer::No);
  EXPECT_FALSE(controller.Running() || Report().isVisible());
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].title + "|" + dialogs.shown[1].text,
            "Purge cancelled|The free space was not purged.");

  PurgeFreeSpace(MessageAnswer::Yes);
  ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Entered(); }, 10000));
  QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
  gate.Open();
  WaitForTheEnd();
  EXPECT_TRUE(Contains(controller.Run().Report(), "\r\nPurge of free space was stopped.\r\n"));
  EXPECT_EQ(Status(), "Stopped");
  EXPECT_TRUE(fs::is_empty(FileSystemPath(folder.Path())));
}

}  // namespace
