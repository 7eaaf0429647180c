#pragma once

#include <ctime>
#include <optional>

#include "support/environment.h"

namespace TestSupport {

// Puts the process in the given time zone (a TZ value) and restores the former one at the end.
class TimeZoneGuard {
 public:
  explicit TimeZoneGuard(const char* zone) : zone_(std::in_place, "TZ", zone) { Tzset(); }
  ~TimeZoneGuard() {
    zone_.reset();
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
  std::optional<ScopedEnvironment> zone_;
};

}  // namespace TestSupport
