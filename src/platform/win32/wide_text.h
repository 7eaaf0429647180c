#pragma once

// The core's strings are UTF-8; Windows' own calls take UTF-16. These conversions sit between
// the two, and turn paths into the form that has no 260-character limit.

#include <string>
#include <system_error>

namespace Platform::Win32 {

// UTF-8 to UTF-16. Bytes that are not valid UTF-8 become U+FFFD.
std::wstring Widen(const std::string& text);

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string Narrow(const std::wstring& text);

// A path as Windows' wide calls take it: "/" turned into "\", a relative path made absolute from
// the current folder, and an absolute path given the "\\?\" prefix ("\\?\UNC\" for a network
// path) so that it may be longer than 260 characters. Names are kept exactly as written, so a
// name ending in a dot or a blank still names that file. Empty for an empty path.
std::wstring LongPath(const std::string& path);

// The calling thread's last Win32 error as an error code of the system's category; a missing
// file or folder is given as std::errc::no_such_file_or_directory so that callers can tell it
// the same way on every system.
std::error_code LastError();

// A Win32 error number as an error code, mapped as LastError maps it.
std::error_code ErrorFromCode(unsigned long code);

}  // namespace Platform::Win32
