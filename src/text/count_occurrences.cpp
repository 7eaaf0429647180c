#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "text/str_proc.h"

namespace StrProc {

namespace {

// A byte that does not start a well-formed UTF-8 character stands for itself, beyond the last
// code point, so that it only ever matches the same stray byte.
constexpr char32_t kStrayByte = 0x110000;

std::vector<char32_t> DecodeUtf8(const std::string& text) {
  std::vector<char32_t> characters;
  characters.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
      length = 1, value = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, value = lead & 0x1Fu, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, value = lead & 0x0Fu, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, value = lead & 0x07u, smallest = 0x10000;
    }
    bool wellFormed = length > 0 && at + length <= text.size();
    for (std::size_t i = 1; wellFormed && i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      wellFormed = (next & 0xC0u) == 0x80u;
      value = (value << 6) | (next & 0x3Fu);
    }
    wellFormed = wellFormed && value >= smallest && value <= 0x10FFFF &&
                 !(value >= 0xD800 && value <= 0xDFFF);
    if (!wellFormed) {
      characters.push_back(kStrayByte + lead);
      ++at;
      continue;
    }
    characters.push_back(value);
    at += length;
  }
  return characters;
}

// The program's own upper-casing: a to z, the accented Latin-1 letters, š, œ and ÿ.
char32_t UpperCase(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // à to þ, not ÷
  if (c == 0xFF) return 0x178;                              // ÿ
  if (c == 0x161) return 0x160;                             // š
  if (c == 0x153) return 0x152;                             // œ
  return c;
}

}  // namespace

std::int32_t CountOccurrences(const std::string& text, const std::string& pattern,
                              bool caseSensitive) {
  if (text.empty() || pattern.empty()) return 0;
  std::vector<char32_t> haystack = DecodeUtf8(text);
  std::vector<char32_t> needle = DecodeUtf8(pattern);
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
