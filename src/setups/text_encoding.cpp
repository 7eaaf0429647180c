#include "setups/text_encoding.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "text/utf8.h"

namespace TextEncoding {

namespace {

// The code points of the bytes 0x80 to 0x9F in Windows-1252.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const Utf8::Decoded next = Utf8::DecodeFront(text.substr(at));
    if (next.form != Utf8::Form::kCharacter) return false;
    at += next.length;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte <= 0x9F) {
      Utf8::Append(out, kWindows1252High[byte - 0x80]);
    } else {
      Utf8::Append(out, byte);
    }
  }
  return out;
}

}  // namespace TextEncoding
