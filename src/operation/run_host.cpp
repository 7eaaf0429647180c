#include "operation/run_host.h"

#include <chrono>
#include <thread>

void RunHost::WaitWhilePaused() {
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
}
