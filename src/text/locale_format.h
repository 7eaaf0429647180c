#pragma once

// The user's regional conventions for numbers, dates and times, read once from the
// environment's locale. Tests and callers may put other conventions in their place, so that
// nothing depends on which locales a machine has installed.

#include <ctime>
#include <string>

namespace StrProc {

struct LocaleFormat {
  std::string thousandsSeparator;
  std::string decimalPoint;
  // Group sizes from the right, one per character, as localeconv gives them ("\3" groups by
  // three throughout, "\3\2" groups 12,34,56,789); an empty string or CHAR_MAX stops grouping.
  std::string grouping;
  // Patterns in the manner of strftime: %d %e %m %y %Y %H %I %k %l %M %S %p %P and the
  // shorthands %D %F %R %T %r, with the flags - _ 0 and the modifiers E and O.
  std::string shortDatePattern;
  std::string longTimePattern;
  std::string amText;
  std::string pmText;

  // en_US: 1,234.5, 03/05/2024, 02:07:09 PM.
  static LocaleFormat English();
  // de_DE: 1.234,5, 05.03.2024, 14:07:09.
  static LocaleFormat German();
};

// The conventions of the environment's locale (LC_NUMERIC and LC_TIME as the environment sets
// them). A locale without digit grouping (C, POSIX) or one that cannot be loaded groups and
// writes decimals as English does; a date or time pattern that cannot be shown is replaced by
// the English one.
LocaleFormat ReadEnvironmentLocale();

// The conventions every formatting function of the program uses: those of the environment,
// read on first use, until SetLocaleFormat puts others in their place.
LocaleFormat CurrentLocaleFormat();
void SetLocaleFormat(const LocaleFormat& format);

// True when every conversion of the pattern is one that FormatDateTime can show.
bool IsSupportedDateTimePattern(const std::string& pattern);

// The moment shown with the pattern; conversions that cannot be shown are left out.
std::string FormatDateTime(const std::string& pattern, const std::tm& moment,
                           const LocaleFormat& format);

// The decimal form of a number with "." as decimal point, no grouping and no leading blank,
// with as many digits as tell the number apart from its neighbours ("512", "-5", "1023.5").
std::string PlainNumberText(double value);

// The number rounded to the given decimals (halves away from zero, on the exact value) and
// shown with exactly that many, grouped with the locale's separators ("1,234.5").
std::string GroupedNumberText(double value, int decimals, const LocaleFormat& format);
std::string GroupedNumberText(double value, int decimals);

}  // namespace StrProc
