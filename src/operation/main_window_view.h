#pragma once

// What the program's commands ask of the main window: its command frame, its labels and its
// state. The desktop program's window provides it; tests provide a plain one.

#include <string>

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
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
