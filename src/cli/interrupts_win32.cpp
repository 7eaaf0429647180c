// Ctrl-C, Ctrl-Break and the end of the console, the session or the system during a run.

#include <windows.h>

#include "cli/interrupts.h"

namespace {

// Windows ends the program some five seconds after it announced the closing of its console, the
// logoff or the shutdown, or when the handler returns. The run first has the time to stop at its
// poll point; then the file at hand stops at its next write, and the report is written.
constexpr DWORD kStopMilliseconds = 2000;
constexpr DWORD kAbortMilliseconds = 2500;

// Set while no run is on, or once its report is written.
HANDLE reportWritten = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      CountInterrupt();
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      CountInterrupt();
      if (::WaitForSingleObject(reportWritten, kStopMilliseconds) == WAIT_TIMEOUT) {
        StopAtNextWrite();
        ::WaitForSingleObject(reportWritten, kAbortMilliseconds);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

RunInterrupts::RunInterrupts(std::atomic<bool>& stop, std::atomic<bool>& abortNow) {
  WatchFlags(&stop, &abortNow);
  // The event lives as long as the program: a handler may still wait on it as the run ends.
  if (reportWritten == nullptr) reportWritten = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ::ResetEvent(reportWritten);
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

RunInterrupts::~RunInterrupts() {
  ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
  WatchFlags(nullptr, nullptr);
  ::SetEvent(reportWritten);
}
