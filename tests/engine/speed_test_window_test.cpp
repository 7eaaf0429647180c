#include "engine/speed_test_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <filesystem>

#include "engine/specify_drive_dialog.h"
#include "gui_support/fake_main_window.h"
#include "operation/program_settings.h"
#include "setups/program_paths.h"
#include "setups/registry.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "text/program_text.h"
#include "ui/twips.h"

namespace {

using Captions = std::vector<std::pair<std::string, bool>>;

// Answers the next frmSpecifyDrive2 once it is shown.
void WhenDriveDialogShown(std::function<void(frmSpecifyDrive2*)> answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (auto* dialog = qobject_cast<frmSpecifyDrive2*>(QApplication::activeModalWidget())) {
      timer->deleteLater();
      answer(dialog);
    }
  });
  timer->start(10);
}

// Records every caption of lblPurgeSpeed with its weight at that moment, and the running state.
class SpeedTestMainWindow : public TestSupport::FakeMainWindow {
 public:
  SpeedTestMainWindow() {
    lblPurgeSpeed->setObjectName(QStringLiteral("lblPurgeSpeed"));
    cmdTestPurgeSpeed->setObjectName(QStringLiteral("cmdTestPurgeSpeed"));
    cmdTestPurgeSpeed->setGeometry(0, 400, 150, 30);
  }
  QPushButton* Button(const std::string& name) override {
    return name == "cmdTestPurgeSpeed" ? cmdTestPurgeSpeed : FakeMainWindow::Button(name);
  }
  void SetCaption(const std::string& label, const std::string& caption) override {
    FakeMainWindow::SetCaption(label, caption);
    if (label == "lblPurgeSpeed") speedLabel.emplace_back(caption, lblPurgeSpeed->font().bold());
  }
  void SetRunning(bool isRunning) override {
    FakeMainWindow::SetRunning(isRunning);
    runningStates.push_back(isRunning);
  }

  QLabel* lblPurgeSpeed = new QLabel(this);
  QPushButton* cmdTestPurgeSpeed = new QPushButton(QStringLiteral("Test purge speed"), fraMenu);
  Captions speedLabel;
  std::vector<bool> runningStates;
};

class SpeedTestWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  }
  void SetUp() override {
    Registry::SetStorePath(store / "registry.ini");
    ASSERT_FALSE(Platform::DriveOfPath(dummies.Path(), drive));
    button.Test().dummyParent = [this](const std::string&) { return dummies.Path(); };
    button.listDrives = [this] { return std::vector<Platform::DriveInfo>{drive}; };
    main.show();
  }
  void TearDown() override { Registry::SetStorePath(savedStore); }

  void RunTest() {
    QSignalSpy finished(&button, &SpeedTestButton::Finished);
    button.cmdTestPurgeSpeed_MouseUp();
    // A second click while the test runs starts nothing (an unscripted question would fail).
    button.cmdTestPurgeSpeed_MouseUp();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_EQ(main.runningStates, (std::vector<bool>{true, false}));
  }

  TestSupport::TempFolder store;
  TestSupport::TempFolder dummies;
  std::string savedStore = Registry::StorePath();
  Platform::DriveInfo drive;
  SpeedTestMainWindow main;
  ProgramSettings settings;
  TestSupport::ScriptedDialogs dialogs;
  SpeedTestButton button{main, settings, dialogs};
};

TEST_F(SpeedTestWindow, ATestShowsItsProgressInBoldThenTheSpeedInTheLabel) {
  dialogs.Answer(MessageAnswer::Yes);
  RunTest();
  ASSERT_EQ(dialogs.shown.size(), 2U);
  Captions progress;
  for (const auto& caption : main.speedLabel)
    if (caption.first.rfind("Testing", 0) == 0) progress.push_back(caption);
  const std::string testing = "Testing Drive " + drive.root + " ...";
  EXPECT_EQ(progress,
            (Captions{{testing + "1", true}, {testing + "2", true}, {testing + "3", true}}));
  const std::string speed = button.Test().ShowSpeedText(drive);
  EXPECT_NE(speed.find(" MB/sec. (1 overwrite) for Drive " + drive.root + "."), std::string::npos);
  EXPECT_EQ(main.captions["lblPurgeSpeed"], speed);
  EXPECT_FALSE(main.lblPurgeSpeed->font().bold());
  EXPECT_FLOAT_EQ(StoredPurgeSpeed(drive).value_or(0), settings.purgeSpeeds.Speed(drive.root))
      << "the measured speed is kept for the next runs";
}

TEST_F(SpeedTestWindow, WithSeveralDrivesTheDriveDialogOpensBesideTheButtonAndCancelStopsTheTest) {
  Platform::DriveInfo usb;
  usb.root = "/media/usb";
  usb.volumeName = "STICK";
  button.listDrives = [this, usb] { return std::vector<Platform::DriveInfo>{drive, usb}; };
  dialogs.Answer(MessageAnswer::Yes);
  QPoint shownAt;
  QString caption;
  QString offered;
  WhenDriveDialogShown([&](frmSpecifyDrive2* dialog) {
    shownAt = dialog->pos();
    caption = dialog->windowTitle();
    offered = dialog->findChild<QComboBox*>("cboDrives")->currentText();
    dialog->reject();
  });
  RunTest();

  ASSERT_EQ(dialogs.shown.size(), 1U);
  EXPECT_EQ(dialogs.shown[0].text.rfind("This writes test files to a selected drive and", 0), 0U);
  EXPECT_EQ(caption, "Test purge speed on which drive?");
  // Nothing was tested yet, so the last drive listed is offered.
  EXPECT_EQ(offered, "/media/usb [STICK]");
  const QPoint origin = main.mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(shownAt, QPoint(origin.x() + 30 + 180 + Twips::ToPixels(150, &main),
                            origin.y() + 60 + 400 + Twips::ToPixels(450, &main)));
  EXPECT_TRUE(main.speedLabel.empty());
  EXPECT_TRUE(button.Test().lastTestedDrive.empty());
}

TEST(SpecifyDriveDialog, ListsEveryDriveWithItsVolumeNameAndAnswersTheChosenRoot) {
  std::vector<Platform::DriveInfo> drives(3);
  drives[0].root = "/";
  drives[1].root = "/home";
  drives[1].volumeName = "Home data";
  drives[2].root = "/mnt/backup disk";
  frmSpecifyDrive2 dialog(drives, "/home");
  auto* list = dialog.findChild<QComboBox*>("cboDrives");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->itemText(1), "/home [Home data]");
  EXPECT_EQ(list->itemText(2), "/mnt/backup disk");
  EXPECT_EQ(list->currentIndex(), 1);

  WhenDriveDialogShown([](frmSpecifyDrive2* shown) {
    shown->findChild<QComboBox*>("cboDrives")->setCurrentIndex(2);
    shown->findChild<QPushButton*>("cmdAccept")->click();
  });
  EXPECT_EQ(dialog.ChooseDrive(), std::optional<std::string>("/mnt/backup disk"));
  WhenDriveDialogShown([](frmSpecifyDrive2* shown) { shown->reject(); });
  EXPECT_EQ(dialog.ChooseDrive(), std::nullopt);
}

}  // namespace
