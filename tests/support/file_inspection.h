#pragma once

// What a file looks like on the disk, read and set with the system's own calls and not through
// the program's platform layer, so that a test sees what the program really left behind.

#include <cstdint>
#include <string>

namespace TestSupport {

struct DiskTime {
  std::int64_t seconds = 0;      // since 1970-01-01 00:00:00 UTC
  std::int32_t nanoseconds = 0;  // Windows keeps whole 100 ns ticks
  friend bool operator==(const DiskTime&, const DiskTime&) = default;
};

struct DiskTimes {
  DiskTime access;
  DiskTime modification;
  // Windows only: POSIX has no creation time that can be set.
  bool hasCreation = false;
  DiskTime creation;
};

// The times of the entry itself (never a link's target). Throws when they cannot be read.
DiskTimes TimesOnDisk(const std::string& path);

// Sets the access and modification times, and on Windows the creation time when hasCreation is
// set. Throws when the system refuses.
void SetTimesOnDisk(const std::string& path, const DiskTimes& times);

// POSIX: the owner's write permission is off. Windows: the read-only attribute is set.
bool ReadOnlyOnDisk(const std::string& path);

#ifdef _WIN32
// The path as Windows' wide calls take it, in the long form ("\\?\C:\...") when it is absolute,
// so that it may be longer than 260 characters.
std::wstring WideLongPath(const std::string& path);

// The entry's attributes (FILE_ATTRIBUTE_...); INVALID_FILE_ATTRIBUTES when it cannot be read.
unsigned long AttributesOnDisk(const std::string& path);

// Adds attributes to the entry's own; throws when the system refuses.
void AddAttributes(const std::string& path, unsigned long attributes);

// The whole content of a file read through the long form, which also takes a name such as "NUL"
// in a folder as a file's name (the standard library's streams would open the device instead).
// Shares everything, so a file another handle may delete is read too. "<cannot be read>" when it
// cannot be opened.
std::string ReadLongFile(const std::string& path);

// A drive letter from Z downwards that no drive has (A and B are left alone: they may be
// floppies); empty when every letter is taken.
std::string LetterWithoutDrive();
#endif

}  // namespace TestSupport
