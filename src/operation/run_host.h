#pragma once

// What a purge or listing run asks of the program around it: the report window in the desktop
// program, the terminal in the command line.

#include <string>

enum class FileConfirmation {
  Purge,     // "Yes"
  Skip,      // "No"
  PurgeAll,  // purge this file and all that follow without asking again
  Stop,      // "Stop this purge"
};

class RunHost {
 public:
  virtual ~RunHost() = default;
  // A poll point: before each file, after each pass, when report text is flushed and while
  // paused. The program may attend to its window here; Stop and Pause only set flags.
  virtual void Yield() {}
  // Called while the run waits in a pause, between two looks at the flags.
  virtual void WaitWhilePaused();
  // The report text has grown or been cut back.
  virtual void ReportChanged() {}
  // The run now works in this folder (the report window's caption).
  virtual void CaptionChanged(const std::string& /*caption*/) {}
  // Asks whether to purge one file; label shows its path, size and date.
  virtual FileConfirmation ConfirmFile(const std::string& /*label*/) {
    return FileConfirmation::Purge;
  }
  // The run has ended and its summary is written.
  virtual void Finished() {}
};
