// What the interrupts of every system do: counted, and turned into the run's flags.

#include "cli/interrupts.h"

namespace {

std::atomic<int> received{0};
std::atomic<std::atomic<bool>*> stopFlag{nullptr};
std::atomic<std::atomic<bool>*> abortFlag{nullptr};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free &&
                  std::atomic<std::atomic<bool>*>::is_always_lock_free,
              "the signal handlers may only touch lock-free atomics");

void SetFlags(int count) noexcept {
  if (count >= 1)
    if (std::atomic<bool>* const stop = stopFlag.load()) stop->store(true);
  if (count >= 2)
    if (std::atomic<bool>* const abort = abortFlag.load()) abort->store(true);
}

}  // namespace

void CountInterrupt() noexcept {
  SetFlags(received.fetch_add(1) + 1);
}

void StopAtNextWrite() noexcept {
  int count = received.load();
  while (count < 2 && !received.compare_exchange_weak(count, 2)) {
  }
  SetFlags(2);
}

void RestateInterrupts() {
  SetFlags(received.load());
}

void WatchFlags(std::atomic<bool>* stop, std::atomic<bool>* abortNow) noexcept {
  received.store(0);
  stopFlag.store(stop);
  abortFlag.store(abortNow);
}
