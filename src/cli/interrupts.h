#pragma once

// Ctrl-C and the system's requests to end the program while a run is on: SIGINT, SIGTERM and
// SIGHUP; on Windows Ctrl-C, Ctrl-Break and the closing of the console, the logoff and the
// shutdown. The first asks the run to stop at its next poll point (after the pass at hand), so
// that its summary and report are still written. A second one stops the file at hand at its next
// write: it is not deleted and gets back its length and times, and the run ends there. The
// handlers only set atomic flags.

#include <atomic>

class RunInterrupts {
 public:
  // Handles the interrupts until destroyed, setting stop on the first and stop and abortNow on
  // the second. A signal that the program was started to ignore (nohup) stays ignored.
  RunInterrupts(std::atomic<bool>& stop, std::atomic<bool>& abortNow);
  // Gives back the handling there was before. On Windows, a closing console that waits for the
  // report may then end the program.
  ~RunInterrupts();
  RunInterrupts(const RunInterrupts&) = delete;
  RunInterrupts& operator=(const RunInterrupts&) = delete;
};

// Called at the run's poll points: sets the flags again for what came so far, since a run clears
// its flags when it starts.
void RestateInterrupts();

// For the handlers of each system; they only touch atomics, so a signal handler may call them.
// Starts watching for a run whose flags these are (nullptr: none), with nothing received yet.
void WatchFlags(std::atomic<bool>* stop, std::atomic<bool>* abortNow) noexcept;
// Counts one interrupt and sets the flags it calls for.
void CountInterrupt() noexcept;
// Sets the flags of a second interrupt: the file at hand stops at its next write.
void StopAtNextWrite() noexcept;
