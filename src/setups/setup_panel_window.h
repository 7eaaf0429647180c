#pragma once

// The setup panel of the main window: fraSetup (Load, Save, Clear, Restore, Not now) and
// picSaveSetup (Save as operation file, Save for next run, Not now), as frames over the main
// window.

#include <QObject>
#include <string>

#include "setups/setup_file.h"

class MainWindowServices;
class UserDialogs;
class QFrame;
class QPushButton;

class SetupPanels : public QObject {
  Q_OBJECT

 public:
  SetupPanels(MainWindowServices& main, ProgramSettings& settings, UserDialogs& dialogs,
              RememberedSetup& remembered, std::string nextRunSetupPath);

  // cmdSetup's mouse-up: opens fraSetup (ignored while the dialog guard is set).
  void cmdSetup_MouseUp();

  QFrame* fraSetup() const { return fraSetup_; }
  QFrame* picSaveSetup() const { return picSaveSetup_; }

 private:
  void CloseSetupPanel();
  void LoadSetup();
  void SaveSetupAsOperationFile();
  void SaveSetupForNextRun();
  void ClearSetup();
  void RestoreSetup();
  // The file choosers open where the last operation file was saved or loaded.
  void KeepSetupFolder(const std::string& path);

  MainWindowServices& main_;
  ProgramSettings& settings_;
  UserDialogs& dialogs_;
  RememberedSetup& remembered_;
  std::string nextRunSetupPath_;
  // Where the Load and Save dialogs open: the program's setup folder, then the folder of the
  // operation file last saved or loaded.
  std::string setupFolder_;
  QFrame* fraSetup_ = nullptr;
  QFrame* picSaveSetup_ = nullptr;
};
