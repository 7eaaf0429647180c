#include <windows.h>

#include <string>

#include "text/locale_format.h"

// The conventions of the user's regional settings, as Windows keeps them.

namespace StrProc {

namespace {

std::string LocaleItem(LCTYPE item) {
  wchar_t buffer[128] = {};
  const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 128);
  if (length <= 1) return {};
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, buffer, length - 1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, buffer, length - 1, text.data(), size, nullptr, nullptr);
  return text;
}

// Windows writes groups as "3;0" (threes throughout), "3;2;0" (three, then twos) or "3" (one
// group of three only); the C library's form is "\3", "\3\2" and "\3\177".
std::string GroupingFromWindows(const std::string& windows) {
  std::string grouping;
  bool repeatLast = false;
  std::size_t start = 0;
  while (start <= windows.size()) {
    std::size_t end = windows.find(';', start);
    if (end == std::string::npos) end = windows.size();
    const std::string part = windows.substr(start, end - start);
    if (part.size() != 1 || part[0] < '0' || part[0] > '9') return {};
    if (part == "0") {
      repeatLast = true;
      break;
    }
    grouping += static_cast<char>(part[0] - '0');
    start = end + 1;
  }
  if (grouping.empty()) return {};
  if (!repeatLast) grouping += '\177';
  return grouping;
}

// A Windows date or time picture ("M/d/yyyy", "dd.MM.yyyy", "h:mm:ss tt") as a strftime
// pattern; empty when it holds something that cannot be shown.
std::string PatternFromPicture(const std::string& picture) {
  std::string pattern;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    if (c == '\'') {
      // Quoted text is shown as it stands; two quotes in a row are one quote.
      std::size_t end = picture.find('\'', i + 1);
      if (end == std::string::npos) end = picture.size();
      const std::string literal = picture.substr(i + 1, end - i - 1);
      for (const char l : literal) pattern += l == '%' ? std::string("%%") : std::string(1, l);
      if (end == i + 1) pattern += '\'';
      i = end + 1;
      continue;
    }
    switch (c) {
      case 'd':
        if (run > 2) return {};  // day names are not part of a short date
        pattern += run == 1 ? "%-d" : "%d";
        break;
      case 'M':
        if (run > 2) return {};  // month names likewise
        pattern += run == 1 ? "%-m" : "%m";
        break;
      case 'y':
        pattern += run <= 2 ? "%y" : "%Y";
        break;
      case 'h':
        pattern += run == 1 ? "%-I" : "%I";
        break;
      case 'H':
        pattern += run == 1 ? "%-H" : "%H";
        break;
      case 'm':
        pattern += run == 1 ? "%-M" : "%M";
        break;
      case 's':
        pattern += run == 1 ? "%-S" : "%S";
        break;
      case 't':
        pattern += "%p";
        break;
      case 'g':
        return {};  // eras
      default:
        for (std::size_t k = 0; k < run; ++k)
          pattern += c == '%' ? std::string("%%") : std::string(1, c);
    }
    i += run;
  }
  return pattern;
}

}  // namespace

LocaleFormat ReadEnvironmentLocale() {
  LocaleFormat format = LocaleFormat::English();
  const std::string thousands = LocaleItem(LOCALE_STHOUSAND);
  const std::string decimal = LocaleItem(LOCALE_SDECIMAL);
  const std::string grouping = GroupingFromWindows(LocaleItem(LOCALE_SGROUPING));
  if (!thousands.empty() && !decimal.empty() && thousands != decimal && !grouping.empty()) {
    format.thousandsSeparator = thousands;
    format.decimalPoint = decimal;
    format.grouping = grouping;
  }
  std::string datePattern = PatternFromPicture(LocaleItem(LOCALE_SSHORTDATE));
  // A file's year must never be in doubt.
  if (const auto at = datePattern.find("%y"); at != std::string::npos) datePattern[at + 1] = 'Y';
  if (!datePattern.empty() && IsSupportedDateTimePattern(datePattern))
    format.shortDatePattern = datePattern;
  const std::string timePattern = PatternFromPicture(LocaleItem(LOCALE_STIMEFORMAT));
  if (!timePattern.empty() && IsSupportedDateTimePattern(timePattern)) {
    format.longTimePattern = timePattern;
    format.amText = LocaleItem(LOCALE_S1159);
    format.pmText = LocaleItem(LOCALE_S2359);
  }
  return format;
}

}  // namespace StrProc
