#pragma once

// The registry: a small store of string values under key paths of the current user, kept in one
// INI-style file in the application-data folder. It answers with status texts whose first
// character is "0" on success.
//
// The store file holds one section per key, "[key path]", followed by its values, "name=value",
// one to a line, each line ended by LF (a CR before the LF is accepted too); blank lines are
// ignored. Key paths, names and values are written with these escapes:
//
//   \\   a backslash              \n   a line feed             \r   a carriage return
//   \xHH the byte HH, for every other control character (00 to 1F and 7F)
//   \=  \[  \]   "=", "[" and "]" in names, so that the first "=" of a line ends its name and no
//                value line looks like a section
//
// A backslash followed by any other character stands for that character. Key paths keep their
// own "\" separators, written as "\\". Key paths and names are told apart without regard to the
// case of the letters A to Z, as the registry does; a key keeps the spelling it was created with.
//
// A store that cannot be understood (a line that is neither a section, a value of a section nor
// blank; a NUL byte; more than kMaxStoreBytes) is taken as empty, and the next write replaces it
// whole. Every write replaces the whole file at once through a temporary file and a rename, so a
// crash, or two processes writing at the same time, never leaves a damaged file: the file is
// always one writer's complete version (a value written by another process at the same moment may
// be lost, which is acceptable for measured speeds). Within the program, calls are serialised.

#include <cstddef>
#include <string>

namespace Registry {

enum class RootKey { CurrentUser };

// The largest store file that is read; a longer one is taken as damaged, and a write that would
// make the store longer is refused.
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
