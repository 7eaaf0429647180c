#pragma once

#include <system_error>

namespace Platform {

// Failures that the platform layer finds itself, beside the system's own error numbers.
enum class PlatformErrc {
  NotARegularFile = 1,  // a link, folder, device, pipe or socket where a regular file is needed
  NoSuchDrive,          // no mounted file system holds the path
};

const std::error_category& PlatformCategory();

inline std::error_code make_error_code(PlatformErrc e) {
  return {static_cast<int>(e), PlatformCategory()};
}

}  // namespace Platform

template <>
struct std::is_error_code_enum<Platform::PlatformErrc> : std::true_type {};
