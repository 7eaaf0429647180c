#pragma once

// Relative paths written once for every system: "sub/a.txt" in a test becomes "sub\a.txt" on
// Windows, so that the path handed to the program and the path expected in its texts are the
// ones the program itself builds with the system's separator.

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/program.h"
#include "support/temp_folder.h"

namespace TestSupport {

// The relative path with every "/" replaced by the system's separator.
inline std::string NativePath(std::string relative) {
  for (char& c : relative)
    if (c == '/') c = Platform::kPathSeparator;
  return relative;
}

// Makes a folder and every missing folder above it (a UTF-8 path); throws when it cannot.
inline void MakeFolders(const std::string& path) {
  std::filesystem::create_directories(FileSystemPath(path));
}

// Whether anything exists at the UTF-8 path (a dangling link counts).
inline bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::symlink_status(FileSystemPath(path), ignored).type() !=
         std::filesystem::file_type::not_found;
}

}  // namespace TestSupport
