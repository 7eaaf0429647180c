#pragma once

// Files as the operating system sees them. Nothing here follows a symbolic link, and nothing
// opens anything but a regular file for writing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

namespace Platform {

enum class FileKind {
  Missing,
  Regular,
  Directory,
  SymbolicLink,
  Other,  // device, pipe or socket
};

struct FileAttributes {
  FileKind kind = FileKind::Missing;
  bool readOnly = false;  // POSIX: the owner's write permission is off
  bool hidden = false;    // POSIX: the name begins with "."
  bool system = false;    // POSIX: never
};

// Reads what the path names without following a link. A missing path gives kind Missing and
// the error no_such_file_or_directory.
std::error_code GetFileAttributes(const std::string& path, FileAttributes& attributes);

// Clears one attribute. POSIX: read-only adds the owner's write permission (never through a
// link); hidden and system need no clearing and succeed.
std::error_code ClearReadOnly(const std::string& path);
std::error_code ClearHidden(const std::string& path);
std::error_code ClearSystem(const std::string& path);

struct FileTime {
  std::int64_t seconds = 0;      // since 1970-01-01 00:00:00 UTC
  std::int32_t nanoseconds = 0;  // 0 to 999,999,999
  friend bool operator==(const FileTime&, const FileTime&) = default;
};

struct FileTimes {
  bool hasCreation = false;  // the file system gave a creation (birth) time
  FileTime creation;
  FileTime access;
  FileTime modification;
};

// Reads the three times of the entry itself (a link's own times, never its target's).
std::error_code GetFileTimes(const std::string& path, FileTimes& times);

// Writes the access and modification times to the nanosecond. POSIX cannot set a creation time,
// so that one is left as it is.
std::error_code SetFileTimes(const std::string& path, const FileTimes& times);

// Removes a file or link entry once (never a folder, never a link's target).
std::error_code RemoveFile(const std::string& path);

// True when a non-folder entry of that name exists (a dangling link exists too).
bool FileExists(const std::string& path);

// True when the path names a folder (not a link to one).
bool FolderExists(const std::string& path);

void SleepMilliseconds(int milliseconds);

// Makes a new regular file holding contents; an error when anything of that name exists.
std::error_code CreateNewFile(const std::string& path, const std::string& contents);

}  // namespace Platform
