#pragma once

// The system's lower-casing of one character at a time.

namespace Platform {

// The small letter of a character by the simple (one character to one character) case mapping of
// Unicode, as the system knows it: "Ž" gives "ž", "К" gives "к", "Σ" gives "σ", "𐐀" gives "𐐨".
// A character without a small letter, or a value that is no character, comes back as it is.
// POSIX: the mapping of the C.UTF-8 locale; where the system has no such locale, that of the
// user's own locale when it is a UTF-8 one; without either, only "A" to "Z" are mapped.
// Windows: the invariant locale's mapping, on the UTF-16 form (a surrogate pair above U+FFFF).
char32_t LowerCaseChar(char32_t c);

}  // namespace Platform
