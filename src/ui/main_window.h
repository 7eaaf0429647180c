#pragma once

// frmMain: the program's main window. It shows the settings of the program-wide settings object
// and offers one button per command; the commands' work is done by the core and the dialogs.

#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dates/date_input.h"
#include "setups/setup_file.h"
#include "targets/subfolder_selection.h"
#include "ui/main_window_services.h"

class QFrame;
class RunController;
class SpeedTestButton;
class SubfolderPurge;
class TargetCommands;
class QLabel;
class QPushButton;
class QTimer;
class SetupPanels;
class UserDialogs;
class frmView;
struct ProgramSettings;

class frmMain : public QWidget, public MainWindowServices {
  Q_OBJECT

 public:
  frmMain(ProgramSettings& settings, UserDialogs& dialogs, QWidget* parent = nullptr);
  ~frmMain() override;

  // Start-up after the program texts were loaded: defaults, title, the next-run setup, the
  // displays. nextRunSetupPath is where the next-run setup is kept.
  void Startup(const std::string& nextRunSetupPath);
  // Takes the first of the paths the program was started with as the target, as a drop would.
  void StartWithTargets(const std::vector<std::string>& paths);

  // --- MainWindowServices ------------------------------------------------------------------
  QWidget* Window() override { return this; }
  QPushButton* Button(const std::string& objectName) override;
  void SetMenuEnabled(bool enabled) override;
  void RefreshTargetDisplay() override;
  void RefreshSubfolderDisplay() override;
  void RefreshTypeOfPurgeDescription() override;
  void UpdateDateRestrictionLabel() override;
  void SetSetupFilename(const std::string& caption) override;
  void ShowSetupFilename(bool shown) override;
  void StartDialogGuard() override;
  bool DialogGuard() const override { return dialogGuard_; }
  void ClearEstimate() override;
  void SetCaption(const std::string& labelName, const std::string& caption) override;
  void ShowInfoLabels(bool visible) override;
  bool StartupCompleted() const override { return blnStartupCompleted; }
  void SetRunning(bool running) override;
  bool Running() const override { return running_; }
  void SetLastReport(const std::string& report) override { lastReport = report; }
  QLabel* Label(const std::string& objectName);

  bool blnStartupCompleted = false;
  // The text of the last run's report ("" before any run).
  std::string lastReport;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // One file or folder dragged from a file manager becomes the target when it is dropped.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildLayout();
  QPushButton* AddButton(const std::string& objectName, const QString& caption);
  QLabel* AddLabel(const std::string& objectName);
  void InitializeSettings(const std::string& nextRunSetupPath);

  void cmdTypeOfPurge_MouseUp();
  void cmdOnlyBefore_MouseUp();
  void cmdReportScreen_MouseUp();
  void cmdHelp_MouseUp();
  void cmdQuit_MouseUp();
  void ConnectCommands();

  ProgramSettings& settings_;
  UserDialogs& dialogs_;
  RememberedSetup remembered_;
  DateInput dateInput_;
  std::string nextRunSetupPath_;
  bool dialogGuard_ = false;
  bool quitting_ = false;
  bool running_ = false;
  QFrame* fraMenu_ = nullptr;
  QTimer* clock1_ = nullptr;
  QTimer* clock2_ = nullptr;
  std::map<std::string, QPushButton*> buttons_;
  std::map<std::string, QLabel*> labels_;
  std::unique_ptr<SetupPanels> setupPanels_;
  std::unique_ptr<TargetCommands> targets_;
  RunController* runs_ = nullptr;
  std::unique_ptr<SpeedTestButton> speedTest_;
  SubfolderPurge* subfolderPurge_ = nullptr;
  SubfolderSelectionMemory subfolderSelection_;
  frmView* viewer_ = nullptr;
};
