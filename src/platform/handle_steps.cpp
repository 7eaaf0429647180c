#include <mutex>
#include <utility>

#include "platform/handles.h"

namespace Platform {
namespace {

std::mutex& HookLock() {
  static std::mutex lock;
  return lock;
}

HandleStepHook& Hook() {
  static HandleStepHook hook;
  return hook;
}

}  // namespace

void SetHandleStepHook(HandleStepHook hook) {
  const std::lock_guard<std::mutex> guard(HookLock());
  Hook() = std::move(hook);
}

void ReachedHandleStep(HandleStep step, const std::string& name) {
  HandleStepHook hook;
  {
    const std::lock_guard<std::mutex> guard(HookLock());
    if (!Hook()) return;
    hook = Hook();
  }
  hook(step, name);
}

}  // namespace Platform
