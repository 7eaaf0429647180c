#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "support/environment.h"

namespace TestSupport {

// Puts the process in the given time zone (a TZ value) and restores the former one at the end.
class TimeZoneGuard {
 public:
  explicit TimeZoneGuard(const char* zone) {
    if (const char* former = std::getenv("TZ")) former_ = former;
    SetEnvironmentVariable("TZ", zone);
    Tzset();
  }
  ~TimeZoneGuard() {
    if (former_) {
      SetEnvironmentVariable("TZ", *former_);
    } else {
      UnsetEnvironmentVariable("TZ");
    }
    Tzset();
  }
  TimeZoneGuard(const TimeZoneGuard&) = delete;
  TimeZoneGuard& operator=(const TimeZoneGuard&) = delete;

 private:
  static void Tzset() {
#ifdef _WIN32
    _tzset();
#else
    ::tzset();
#endif
  }
  std::optional<std::string> former_;
};

}  // namespace TestSupport
