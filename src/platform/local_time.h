#pragma once

// The local calendar time of a moment, safe to call from any thread.

#include <ctime>

namespace Platform {

// False when the moment cannot be shown in the local calendar (Windows: before 1970 or after
// the year 3000).
inline bool LocalTime(std::time_t moment, std::tm& local) {
#ifdef _WIN32
  return localtime_s(&local, &moment) == 0;
#else
  return localtime_r(&moment, &local) != nullptr;
#endif
}

}  // namespace Platform
