#include <langinfo.h>
#include <locale.h>
#include <wctype.h>

#include <cstring>

#include "platform/case_mapping.h"

namespace Platform {
namespace {

// The locale whose character classes map the case. Its wide characters are code points, as they
// are in every locale of glibc.
locale_t MakeCaseLocale() {
  if (const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{})) return utf8;
  const locale_t own = ::newlocale(LC_CTYPE_MASK, "", locale_t{});
  if (own && std::strcmp(::nl_langinfo_l(CODESET, own), "UTF-8") == 0) return own;
  if (own) ::freelocale(own);
  // The "C" locale, which maps "A" to "Z" only.
  return ::newlocale(LC_CTYPE_MASK, "C", locale_t{});
}

}  // namespace

char32_t LowerCaseChar(char32_t c) {
  static const locale_t locale = MakeCaseLocale();
  if (!locale || c > 0x10FFFF) return c;
  return static_cast<char32_t>(::towlower_l(static_cast<wint_t>(c), locale));
}

}  // namespace Platform
