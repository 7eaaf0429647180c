#pragma once

// Environment variables set for one test and put back afterwards, on every system.

#include <cstdlib>
#include <optional>
#include <string>

namespace TestSupport {

// Remembers a variable and restores it (or its absence) at the end of the scope.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const char* name) : name_(name) {
    if (const char* former = std::getenv(name)) former_ = former;
  }
  ScopedEnvironment(const char* name, const std::string& value) : ScopedEnvironment(name) {
    Set(value);
  }
  ~ScopedEnvironment() {
    if (former_) {
      Set(*former_);
    } else {
      Unset();
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::string& value) {
#ifdef _WIN32
    _putenv_s(name_, value.c_str());
#else
    ::setenv(name_, value.c_str(), 1);
#endif
  }
  // Windows cannot hold an empty variable: setting one to "" removes it.
  void Unset() {
#ifdef _WIN32
    _putenv_s(name_, "");
#else
    ::unsetenv(name_);
#endif
  }

 private:
  const char* name_;
  std::optional<std::string> former_;
};

}  // namespace TestSupport
