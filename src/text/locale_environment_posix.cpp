#include <langinfo.h>
#include <locale.h>

#include <climits>

#include "text/locale_format.h"

// The conventions of the environment's locale, as LC_NUMERIC and LC_TIME set them.

namespace StrProc {

namespace {

// One locale category as the environment sets it, freed at the end of the scope.
class EnvironmentLocale {
 public:
  explicit EnvironmentLocale(int categoryMask) : handle_(newlocale(categoryMask, "", locale_t{})) {}
  ~EnvironmentLocale() {
    if (handle_ != locale_t{}) freelocale(handle_);
  }
  EnvironmentLocale(const EnvironmentLocale&) = delete;
  EnvironmentLocale& operator=(const EnvironmentLocale&) = delete;

  bool Loaded() const { return handle_ != locale_t{}; }
  std::string Item(nl_item item) const {
    const char* text = nl_langinfo_l(item, handle_);
    return text == nullptr ? std::string() : std::string(text);
  }

 private:
  locale_t handle_;
};

bool GroupsDigits(const std::string& grouping) {
  return !grouping.empty() && grouping[0] > 0 && grouping[0] != CHAR_MAX;
}

void ReadNumbers(LocaleFormat& format) {
  const EnvironmentLocale numeric(LC_NUMERIC_MASK);
  if (!numeric.Loaded()) return;
  const std::string thousands = numeric.Item(THOUSEP);
  const std::string decimal = numeric.Item(RADIXCHAR);
  const std::string grouping = numeric.Item(GROUPING);
  // Without grouping (C, POSIX) numbers keep the English separators, both of them, so that a
  // decimal comma never meets a thousands comma.
  if (thousands.empty() || decimal.empty() || thousands == decimal || !GroupsDigits(grouping))
    return;
  format.thousandsSeparator = thousands;
  format.decimalPoint = decimal;
  format.grouping = grouping;
}

void ReadDatesAndTimes(LocaleFormat& format) {
  const EnvironmentLocale time(LC_TIME_MASK);
  if (!time.Loaded()) return;
  std::string datePattern = time.Item(D_FMT);
  std::string timePattern = time.Item(T_FMT);
  // The C and POSIX locales write two-digit years; a file's year must never be in doubt.
  if (datePattern == "%m/%d/%y") datePattern = "%m/%d/%Y";
  const std::string twelveHourPattern = time.Item(T_FMT_AMPM);
  if (const auto at = timePattern.find("%r");
      at != std::string::npos && IsSupportedDateTimePattern(twelveHourPattern))
    timePattern.replace(at, 2, twelveHourPattern);
  if (!datePattern.empty() && IsSupportedDateTimePattern(datePattern))
    format.shortDatePattern = datePattern;
  if (!timePattern.empty() && IsSupportedDateTimePattern(timePattern)) {
    format.longTimePattern = timePattern;
    format.amText = time.Item(AM_STR);
    format.pmText = time.Item(PM_STR);
  }
}

}  // namespace

LocaleFormat ReadEnvironmentLocale() {
  LocaleFormat format = LocaleFormat::English();
  ReadNumbers(format);
  ReadDatesAndTimes(format);
  return format;
}

}  // namespace StrProc
