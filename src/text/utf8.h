#pragma once

// UTF-8 text: decoding it one character at a time, encoding code points, and counting it in
// characters rather than bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace Utf8 {

// What stands at the front of a text.
enum class Form {
  kCharacter,  // a well-formed character
  kInvalid,    // a byte that starts no well-formed character
  kCutShort,   // a sequence that is well-formed as far as it goes, but the text ends inside it
};

struct Decoded {
  Form form;
  char32_t value;      // the code point of a character; otherwise the first byte
  std::size_t length;  // the bytes that a character takes; otherwise 1
};

// The character at the front of text, which must not be empty. Well-formed UTF-8 has no stray
// continuation bytes, no overlong forms, no surrogates and nothing beyond U+10FFFF; the bytes of a
// sequence are checked in order, so a sequence is cut short only if no byte before the end is
// wrong.
inline Decoded DecodeFront(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {Form::kCharacter, lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  // The allowed range of the second byte rules out overlong forms, surrogates and code points
  // beyond U+10FFFF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {Form::kInvalid, lead, 1};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i == text.size()) return {Form::kCutShort, lead, 1};
    const auto next = static_cast<unsigned char>(text[i]);
    if (next < low || next > high) return {Form::kInvalid, lead, 1};
    low = 0x80;
    high = 0xBF;
    value = (value << 6) | (next & 0x3Fu);
  }
  return {Form::kCharacter, value, length};
}

// The code points of text. A byte that starts no well-formed character becomes strayByteBase plus
// the byte: the caller picks a base that gives values no character has, so that a stray byte
// equals only the same stray byte.
inline std::u32string Decode(std::string_view text, char32_t strayByteBase) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Decoded next = DecodeFront(text.substr(at));
    out.push_back(next.form == Form::kCharacter ? next.value : strayByteBase + next.value);
    at += next.length;
  }
  return out;
}

// Appends the UTF-8 bytes of a code point.
inline void Append(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Counting in characters: every byte that does not continue a sequence starts a character (a
// stray byte counts as one).

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
