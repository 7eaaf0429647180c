#pragma once

#include "text/locale_format.h"

namespace TestSupport {

// Puts the given conventions in force for one test and gives back the earlier ones after it.
class ScopedLocaleFormat {
 public:
  explicit ScopedLocaleFormat(const StrProc::LocaleFormat& format)
      : saved_(StrProc::CurrentLocaleFormat()) {
    StrProc::SetLocaleFormat(format);
  }
  ~ScopedLocaleFormat() { StrProc::SetLocaleFormat(saved_); }
  ScopedLocaleFormat(const ScopedLocaleFormat&) = delete;
  ScopedLocaleFormat& operator=(const ScopedLocaleFormat&) = delete;

 private:
  StrProc::LocaleFormat saved_;
};

}  // namespace TestSupport
