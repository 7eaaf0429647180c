#include "text/locale_format.h"

#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <memory>
#include <mutex>

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

std::mutex& CurrentMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unique_ptr<LocaleFormat>& CurrentSlot() {
  static std::unique_ptr<LocaleFormat> slot;
  return slot;
}

}  // namespace

LocaleFormat LocaleFormat::English() {
  return LocaleFormat{",", ".", "\3", "%m/%d/%Y", "%I:%M:%S %p", "AM", "PM"};
}

LocaleFormat LocaleFormat::German() {
  return LocaleFormat{".", ",", "\3", "%d.%m.%Y", "%H:%M:%S", "", ""};
}

LocaleFormat ReadEnvironmentLocale() {
  LocaleFormat format = LocaleFormat::English();
  ReadNumbers(format);
  ReadDatesAndTimes(format);
  return format;
}

LocaleFormat CurrentLocaleFormat() {
  const std::lock_guard lock(CurrentMutex());
  auto& slot = CurrentSlot();
  if (!slot) slot = std::make_unique<LocaleFormat>(ReadEnvironmentLocale());
  return *slot;
}

void SetLocaleFormat(const LocaleFormat& format) {
  const std::lock_guard lock(CurrentMutex());
  CurrentSlot() = std::make_unique<LocaleFormat>(format);
}

}  // namespace StrProc
