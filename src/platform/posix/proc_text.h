#pragma once

// Reading the text tables of /proc and of udev's device links. Pure functions on given text, so
// that odd names and damaged lines can be tried without the system's own tables.

#include <string>
#include <string_view>
#include <vector>

namespace Platform::ProcText {

// Decodes the kernel's escapes of "\ooo" (three octal digits, as in "\040" for a space). A
// backslash that does not start such an escape is kept as it is.
std::string DecodeOctalEscapes(std::string_view text);

// Decodes udev's escapes of "\xHH" (two hexadecimal digits, as in "\x20" for a space) in the
// names of /dev/disk/by-label. Other backslashes are kept.
std::string DecodeHexEscapes(std::string_view text);

// The fields of one line, split at runs of spaces and tabs.
std::vector<std::string_view> SplitFields(std::string_view line);

// The paths of the swap files (type "file") listed in the text of /proc/swaps, in order and
// decoded; swap partitions and the heading are left out.
std::vector<std::string> ParseSwaps(std::string_view text);

}  // namespace Platform::ProcText
