#include <windows.h>

#include "platform/case_mapping.h"

namespace Platform {

char32_t LowerCaseChar(char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return c;
  wchar_t in[2];
  int length = 1;
  if (c < 0x10000) {
    in[0] = static_cast<wchar_t>(c);
  } else {
    const char32_t offset = c - 0x10000;
    in[0] = static_cast<wchar_t>(0xD800 + (offset >> 10));
    in[1] = static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
    length = 2;
  }
  wchar_t out[2];
  if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, in, length, out, 2, nullptr, nullptr,
                      0) != length)
    return c;
  if (length == 1) return (out[0] >= 0xD800 && out[0] <= 0xDFFF) ? c : out[0];
  if (out[0] < 0xD800 || out[0] > 0xDBFF || out[1] < 0xDC00 || out[1] > 0xDFFF) return c;
  return 0x10000 + ((static_cast<char32_t>(out[0]) - 0xD800) << 10) +
         (static_cast<char32_t>(out[1]) - 0xDC00);
}

}  // namespace Platform
