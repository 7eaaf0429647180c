#pragma once

// The purge speed test as the main window's button cmdTestPurgeSpeed runs it: the test works on a
// worker thread so that the window stays responsive, its questions and the drive dialog
// frmSpecifyDrive2 are shown on the window's thread, and lblPurgeSpeed shows its progress.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/speed_test.h"
#include "platform/drives.h"
#include "text/random_source.h"
#include "ui/worker_bridge.h"

class MainWindowServices;
struct ProgramSettings;
class UserDialogs;

class SpeedTestButton : public QObject {
  Q_OBJECT

 public:
  // dialogs are the window's own; the test reaches them from its thread. The purge type, the
  // cluster sizes and the purge speeds of settings are used by the test while it runs, which is
  // why the main window offers no command meanwhile.
  SpeedTestButton(MainWindowServices& main, ProgramSettings& settings, UserDialogs& dialogs);
  ~SpeedTestButton() override;

  // cmdTestPurgeSpeed: starts the whole test and returns; Finished follows when it is over. The
  // main window is marked running (SetRunning) until then. Nothing happens while the main window
  // is already running something.
  void cmdTestPurgeSpeed_MouseUp();

  // True from the click until Finished.
  bool Testing() const { return testing_; }

  // The test itself, which keeps the drive tested last from one click to the next.
  SpeedTest& Test() { return *test_; }

  // The drives offered, asked on the test's thread. By default every drive of
  // Platform::ListDrives() on which this user can put the dummy files (see Test().dummyParent).
  std::function<std::vector<Platform::DriveInfo>()> listDrives;

 signals:
  // On the window's thread, once the test is over and the main window runs no more.
  void Finished();

 private:
  class WindowHost;

  // On the window's thread: frmSpecifyDrive2, placed beside cmdTestPurgeSpeed.
  std::optional<std::string> ChooseDrive(const std::vector<Platform::DriveInfo>& drives,
                                         const std::string& preselected);
  std::vector<Platform::DriveInfo> WritableDrives() const;

  MainWindowServices& main_;
  GuiThreadDialogs dialogs_;
  std::unique_ptr<WindowHost> host_;
  // The test's own, so that nothing on the window's thread draws from it at the same time.
  SystemRandomSource random_;
  std::unique_ptr<SpeedTest> test_;
  bool testing_ = false;
};
