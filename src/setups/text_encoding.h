#pragma once

// The text encodings of setup files: UTF-8, and Windows-1252 for files written on Windows.

#include <string>
#include <string_view>

namespace TextEncoding {

// True when text is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Windows-1252 text in UTF-8. The bytes 0x80 to 0x9F follow the Windows-1252 table ("€" for
// 0x80, "Š" for 0x8A ...; the five unassigned ones keep their own code point, as Windows does),
// the other bytes are taken as Latin-1.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace TextEncoding
