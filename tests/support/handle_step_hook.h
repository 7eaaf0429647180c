#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/handles.h"

namespace TestSupport {

// Changes the file system at the n-th time the program reaches a step, as another program
// could; the hook is removed again when the test ends.
class StepTrap {
 public:
  StepTrap(Platform::HandleStep step, int n, std::function<void(const std::string&)> change)
      : step_(step), n_(n), change_(std::move(change)) {
    Platform::SetHandleStepHook([this](Platform::HandleStep reached, const std::string& name) {
      if (reached == step_ && ++seen_ == n_) change_(name);
    });
  }
  ~StepTrap() { Platform::SetHandleStepHook({}); }
  StepTrap(const StepTrap&) = delete;
  StepTrap& operator=(const StepTrap&) = delete;

 private:
  Platform::HandleStep step_;
  int n_;
  std::function<void(const std::string&)> change_;
  int seen_ = 0;
};

}  // namespace TestSupport
