#pragma once

// What the main window offers the panels and dialogs that work inside it.

#include <string>

class QPushButton;
class QWidget;

class MainWindowServices {
 public:
  virtual ~MainWindowServices() = default;
  // The window itself, as the parent of dialogs.
  virtual QWidget* Window() = 0;
  // A command button by objectName (such as "cmdSetup"); nullptr when there is none.
  virtual QPushButton* Button(const std::string& objectName) = 0;
  // Enables or disables the frame of command buttons, fraMenu.
  virtual void SetMenuEnabled(bool enabled) = 0;
  // The target labels, the subfolder labels, the type-of-purge description and the
  // date-restriction label show the settings anew.
  virtual void RefreshTargetDisplay() = 0;
  virtual void RefreshSubfolderDisplay() = 0;
  virtual void RefreshTypeOfPurgeDescription() = 0;
  virtual void UpdateDateRestrictionLabel() = 0;
  // lblSetupFilename: its caption, and whether it is shown (in front of other controls).
  virtual void SetSetupFilename(const std::string& caption) = 0;
  virtual void ShowSetupFilename(bool shown) = 0;
  // DialogGuard: set when a file dialog has just closed, cleared by the next tick of Clock2.
  virtual void StartDialogGuard() = 0;
  virtual bool DialogGuard() const = 0;
  // lblEstimatedTime is cleared: an estimate no longer holds.
  virtual void ClearEstimate() = 0;
  // Sets the caption of an information label by its objectName (such as "lblEstimatedTime").
  virtual void SetCaption(const std::string& labelName, const std::string& caption) = 0;
  // Shows or hides the information labels and cmdClear together.
  virtual void ShowInfoLabels(bool visible) = 0;
  // False until the window has finished starting.
  virtual bool StartupCompleted() const = 0;
  // While a run is on, the command frame and the setup panel are not offered.
  virtual void SetRunning(bool running) = 0;
  virtual bool Running() const = 0;
  // The text of the last run's report, which the Report button shows.
  virtual void SetLastReport(const std::string& report) = 0;
};
