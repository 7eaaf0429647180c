#pragma once

// The registry: a small store of string values under key paths of the current user, kept in one
// INI-style file in the application-data folder. It answers with status texts whose first
// character is "0" on success.
//
// The store file holds one section per key, "[key path]", followed by its values, "name=value",
// one to a line, each line ended by LF (a CR before the LF is accepted too); blank lines are
// ignored, and so are comments, lines that begin with "#" or ";". Key paths, names and values are
// written with these escapes:
//
//   \\   a backslash              \n   a line feed             \r   a carriage return
//   \xHH the byte HH, for every other control character (00 to 1F and 7F)
//   \=  \[  \]   "=", "[" and "]" in names, so that the first "=" of a line ends its name and no
//                value line looks like a section
//   \#  \;      "#" and ";" at the start of a name, so that no value line looks like a comment
//
// A backslash followed by any other character stands for that character. Key paths keep their
// own "\" separators, written as "\\". Key paths and names are told apart without regard to the
// case of the letters A to Z, as the registry does; a key keeps the spelling it was created with.
//
// The file may hold what the program does not understand: comments, lines that are neither a
// section nor a value of one, lines with NUL bytes, a section whose head cannot be read and its
// lines. Such lines are skipped by a read and kept by a write, byte for byte and in their places;
// a write changes only the line of its value (or adds it at the end of its section, or adds its
// section at the end of the file). A store that is there but cannot be read whole (no permission,
// a read error, more than kMaxStoreBytes, a link or anything but a regular file) is never
// replaced: every write then fails, and every read finds nothing.
//
// Every write replaces the whole file at once through a temporary file and a rename, so a
// crash, or two processes writing at the same time, never leaves a damaged file: the file is
// always one writer's complete version (a value written by another process at the same moment may
// be lost, which is acceptable for measured speeds). Within the program, calls are serialised.

#include <cstddef>
#include <string>

namespace Registry {

enum class RootKey { CurrentUser };

// The largest store file that is read; a longer one is neither read nor replaced, and a write
// that would make the store longer is refused.
inline constexpr std::size_t kMaxStoreBytes = 1 << 20;

// Windows keeps the values in the registry itself, under HKEY_CURRENT_USER: there the store path
// is only remembered and has no effect on where values are kept.
//
// The file that holds the store; the program sets it at start-up. Default: the
// application-data folder followed by "/kexwell/registry.ini" (empty when there is no
// application-data folder, and then every write fails and every read finds nothing). An empty
// path puts the default back.
void SetStorePath(const std::string& path);
std::string StorePath();

// Where a value under keyPath is kept, for telling the user: the store file (StorePath), or on
// Windows "HKEY_CURRENT_USER\" followed by the key path.
std::string StoreLocation(RootKey root, const std::string& keyPath);

// Creates the key when missing and sets the value. The status is "0 New key created." or
// "0 Key already exists.", two blanks and the system's message for the result; when the value
// cannot be stored, the system's error number, a blank, "Unable to create (or find) key.", two
// blanks and the system's message. An empty key path or value name is refused like that (EINVAL):
// such a value could never be read back. Windows: the registry's own error numbers (an empty key
// path or name gives ERROR_INVALID_PARAMETER), "0 Key anomaly." for a key neither made nor
// found, and for a key made or found whose value cannot be set, the error number, a blank,
// "Unable to write value.", two blanks and the system's message.
std::string RegWriteString(RootKey root, const std::string& keyPath, const std::string& valueName,
                           const std::string& text);

// Reads a value into text. The status is "0 OK"; "1 Key not found or is empty." for an empty
// key path, a missing key or a store that cannot be read; "2 Name not specified." for an empty
// value name; "3 Name not found." for a missing value. text is set only with "0 OK". Windows
// also answers "4 " and the system's message for a value that is no text or cannot be read; a
// text stored without its terminating zero is read whole.
std::string RegReadString(RootKey root, const std::string& keyPath, const std::string& valueName,
                          std::string& text);

}  // namespace Registry
