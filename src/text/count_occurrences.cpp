#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "text/str_proc.h"
#include "text/utf8.h"

namespace StrProc {

namespace {

// A byte that does not start a well-formed UTF-8 character stands for itself, beyond the last
// code point, so that it only ever matches the same stray byte.
constexpr char32_t kStrayByte = 0x110000;

// The program's own upper-casing: a to z, the accented Latin-1 letters, š, œ and ÿ.
char32_t UpperCase(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // à to þ, not ÷
  if (c == 0xFF) return 0x178;                               // ÿ
  if (c == 0x161) return 0x160;                              // š
  if (c == 0x153) return 0x152;                              // œ
  return c;
}

}  // namespace

std::int32_t CountOccurrences(const std::string& text, const std::string& pattern,
                              bool caseSensitive) {
  if (text.empty() || pattern.empty()) return 0;
  std::u32string haystack = Utf8::Decode(text, kStrayByte);
  std::u32string needle = Utf8::Decode(pattern, kStrayByte);
  if (!caseSensitive) {
    for (char32_t& c : haystack) c = UpperCase(c);
    for (char32_t& c : needle) c = UpperCase(c);
  }
  std::int32_t count = 0;
  std::size_t at = 0;
  while (needle.size() <= haystack.size() - at) {
    if (std::equal(needle.begin(), needle.end(), haystack.begin() + static_cast<long>(at))) {
      if (count == std::numeric_limits<std::int32_t>::max()) break;
      ++count;
      at += needle.size();
    } else {
      ++at;
    }
  }
  return count;
}

}  // namespace StrProc
