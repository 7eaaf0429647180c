#pragma once

// Asking a drive without a medium (an empty card reader, a CD drive with no disc) makes Windows
// show its "insert a disk" box unless the calling thread has said it wants errors instead.

#include <windows.h>

namespace Platform::Win32 {

// While it lives, a drive without a medium answers with an error instead of the system's
// "insert a disk" box; the calling thread's own setting comes back afterwards.
class NoCriticalErrorBoxes {
 public:
  NoCriticalErrorBoxes() {
    restore_ =
        ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_) != FALSE;
  }
  ~NoCriticalErrorBoxes() {
    if (restore_) ::SetThreadErrorMode(previous_, nullptr);
  }
  NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
  NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

 private:
  DWORD previous_ = 0;
  bool restore_ = false;
};

}  // namespace Platform::Win32
