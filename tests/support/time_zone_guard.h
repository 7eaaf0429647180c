#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace TestSupport {

// Puts the process in the given time zone (a TZ value) and restores the former one at the end.
class TimeZoneGuard {
 public:
  explicit TimeZoneGuard(const char* zone) {
    if (const char* former = std::getenv("TZ")) former_ = former;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~TimeZoneGuard() {
    if (former_) {
      ::setenv("TZ", former_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
  TimeZoneGuard(const TimeZoneGuard&) = delete;
  TimeZoneGuard& operator=(const TimeZoneGuard&) = delete;

 private:
  std::optional<std::string> former_;
};

}  // namespace TestSupport
