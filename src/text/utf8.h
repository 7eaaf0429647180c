#pragma once

// Counting UTF-8 text in characters rather than bytes: every byte that does not continue a
// sequence starts a character (a stray byte counts as one).

#include <cstddef>
#include <string_view>

namespace Utf8 {

inline bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

inline std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text)
    if (!IsContinuationByte(c)) ++count;
  return count;
}

// The number of bytes that the first count characters take.
inline std::size_t PrefixBytes(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < text.size(); ++end) {
    if (!IsContinuationByte(text[end]) && seen++ == count) break;
  }
  return end;
}

}  // namespace Utf8
