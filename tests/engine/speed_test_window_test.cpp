#include "engine/speed_test_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>

#include "gui_support/fake_main_window.h"
#include "operation/program_settings.h"
#include "setups/program_paths.h"
#include "setups/registry.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "text/program_text.h"

namespace {

using Captions = std::vector<std::pair<std::string, bool>>;

// Records every caption of lblPurgeSpeed with its weight at that moment, and the running state.
class SpeedTestMainWindow : public TestSupport::FakeMainWindow {
 public:
  SpeedTestMainWindow() { lblPurgeSpeed->setObjectName(QStringLiteral("lblPurgeSpeed")); }
  void SetCaption(const std::string& label, const std::string& caption) override {
    FakeMainWindow::SetCaption(label, caption);
    if (label == "lblPurgeSpeed") speedLabel.emplace_back(caption, lblPurgeSpeed->font().bold());
  }
  void SetRunning(bool isRunning) override {
    FakeMainWindow::SetRunning(isRunning);
    runningStates.push_back(isRunning);
  }

  QLabel* lblPurgeSpeed = new QLabel(this);
  Captions speedLabel;
  std::vector<bool> runningStates;
};

TEST(SpeedTestWindow, AClickTestsTheDriveShowingProgressInBoldThenTheSpeedAndASecondClickWaits) {
  ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  TestSupport::TempFolder store, dummies;
  const std::string savedStore = Registry::StorePath();
  Registry::SetStorePath(store / "registry.ini");
  Platform::DriveInfo drive;
  ASSERT_FALSE(Platform::DriveOfPath(dummies.Path(), drive));
  SpeedTestMainWindow main;
  ProgramSettings settings;
  TestSupport::ScriptedDialogs dialogs;
  SpeedTestButton button{main, settings, dialogs};
  button.Test().dummyParent = [&dummies](const std::string&) { return dummies.Path(); };
  button.listDrives = [&drive] { return std::vector<Platform::DriveInfo>{drive}; };
  main.show();
  dialogs.Answer(MessageAnswer::Yes);

  QSignalSpy finished(&button, &SpeedTestButton::Finished);
  button.cmdTestPurgeSpeed_MouseUp();
  // A second click while the test runs starts nothing (an unscripted question would fail).
  button.cmdTestPurgeSpeed_MouseUp();
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_EQ(main.runningStates, (std::vector<bool>{true, false}));
  // The question, then the result (its text is the core's) once.
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text,
            "This writes test files to Drive " + drive.root +
                " and then purges them to test the purge speed so as to get an approximate estimate "
                "of purge time required for other files.\r\n\r\nDo you wish to proceed with this test?");
  // Each measurement is shown in bold and cleared when it ends.
  const std::string testing = "Testing Drive " + drive.root + " ...";
  const Captions shown{{testing + "1", true}, {"", false}, {testing + "2", true}, {"", false},
                      {testing + "3", true}, {"", false}, {button.Test().ShowSpeedText(drive), false}};
  EXPECT_EQ(main.speedLabel, shown);
  EXPECT_FLOAT_EQ(StoredPurgeSpeed(drive).value_or(0), settings.purgeSpeeds.Speed(drive.root))
      << "the measured speed is kept for the next runs";
  Registry::SetStorePath(savedStore);
}

}  // namespace
