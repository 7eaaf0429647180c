#pragma once

// Taking paths apart and putting them together with the system's separator.

#include <string>

#include "platform/program.h"

namespace Platform {

// Everything up to and including the last separator; empty when there is none.
inline std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.rfind(kPathSeparator);
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Everything after the last separator; the whole path when there is none.
inline std::string NamePart(const std::string& path) {
  const std::size_t slash = path.rfind(kPathSeparator);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace Platform

// True for a character that separates the names of a path: "/" everywhere, and "\" on Windows.
inline bool IsPathSeparator(char c) {
  return c == '/' || c == Platform::kPathSeparator;
}

// folder followed by name, with a separator between them only where the folder lacks one.
inline std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == Platform::kPathSeparator) return folder + name;
  return folder + Platform::kPathSeparator + name;
}

// The folder made to end in exactly one separator (the root stays "/"). On Windows a drive letter
// before ":" is upper-cased ("c:\temp" gives "C:\temp\") and "/" counts as a separator.
inline std::string WithTrailingSeparator(const std::string& folder) {
  std::string out = folder;
  while (out.size() > 1 && IsPathSeparator(out.back())) out.pop_back();
  if (out.empty() || out.back() != Platform::kPathSeparator) out += Platform::kPathSeparator;
#ifdef _WIN32
  if (out.size() >= 2 && out[1] == ':' && out[0] >= 'a' && out[0] <= 'z')
    out[0] = static_cast<char>(out[0] - 'a' + 'A');
#endif
  return out;
}
