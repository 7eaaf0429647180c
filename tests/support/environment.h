#pragma once

// Environment variables set for one test and put back afterwards, on every system.

#include <cstdlib>
#include <optional>
#include <string>

namespace TestSupport {

inline void SetEnvironmentVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  ::setenv(name, value.c_str(), 1);
#endif
}

// Windows cannot hold an empty variable: setting one to "" removes it.
inline void UnsetEnvironmentVariable(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");
#else
  ::unsetenv(name);
#endif
}

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
      SetEnvironmentVariable(name_, *former_);
    } else {
      UnsetEnvironmentVariable(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::string& value) { SetEnvironmentVariable(name_, value); }
  void Unset() { UnsetEnvironmentVariable(name_); }

 private:
  const char* name_;
  std::optional<std::string> former_;
};

}  // namespace TestSupport
