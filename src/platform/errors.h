#pragma once

#include <system_error>

namespace Platform {

// Failures that the platform layer finds itself, beside the system's own error numbers.
enum class PlatformErrc {
  NotARegularFile = 1,  // a link, folder, device, pipe or socket where a regular file is needed
  NoSuchDrive,          // no mounted file system holds the path
  NotAFolder,           // a link or another entry where a folder is to be entered
  OtherFileSystem,      // a folder that is the root of another mounted file system
  NameReplaced,         // the name leads to another file than the one opened
};

const std::error_category& PlatformCategory();

inline std::error_code make_error_code(PlatformErrc e) {
  return {static_cast<int>(e), PlatformCategory()};
}

}  // namespace Platform

template <>
struct std::is_error_code_enum<Platform::PlatformErrc> : std::true_type {};
