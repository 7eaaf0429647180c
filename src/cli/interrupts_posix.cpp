// SIGINT, SIGTERM and SIGHUP during a run.

#include <csignal>
#include <iterator>

#include "cli/interrupts.h"

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[std::size(kSignals)];
bool installed[std::size(kSignals)] = {};

extern "C" void OnSignal(int) {
  CountInterrupt();
}

}  // namespace

RunInterrupts::RunInterrupts(std::atomic<bool>& stop, std::atomic<bool>& abortNow) {
  WatchFlags(&stop, &abortNow);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (const int each : kSignals) sigaddset(&action.sa_mask, each);
  // Writes and reads go on after the handler: the report reaches its file whole, and a question
  // on the terminal still waits for its answer.
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    struct sigaction current {};
    installed[i] = sigaction(kSignals[i], nullptr, &current) == 0 &&
                   current.sa_handler != SIG_IGN &&
                   sigaction(kSignals[i], &action, &previous[i]) == 0;
  }
}

RunInterrupts::~RunInterrupts() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i)
    if (installed[i]) sigaction(kSignals[i], &previous[i], nullptr);
  WatchFlags(nullptr, nullptr);
}
