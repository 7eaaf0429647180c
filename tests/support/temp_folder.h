#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace TestSupport {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in the system's separator ("/" or "\").
  const std::string& Path() const { return path_; }
  // Path() followed by name.
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// The program's paths are UTF-8; these turn them into the standard library's paths and back
// (on Windows a plain string would be taken in the ANSI code page).
std::filesystem::path FileSystemPath(const std::string& path);
std::string Utf8Path(const std::filesystem::path& path);

// Writes bytes to a file (created or replaced) and returns its path.
std::string WriteFile(const std::string& path, const std::string& bytes);

// The whole content of a file; throws when it cannot be read.
std::string ReadFile(const std::string& path);

// A string of n bytes, each the given value.
std::string Repeat(char value, std::size_t n);

}  // namespace TestSupport
