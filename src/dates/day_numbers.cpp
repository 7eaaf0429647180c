#include "dates/day_numbers.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <ctime>
#include <limits>

#include "platform/files.h"
#include "platform/local_time.h"

namespace DatePr2 {

namespace {

// The Gregorian calendar repeats itself every 400 years, which are 146097 days. Dates are
// brought into the first cycle after 1970 for std::chrono, whose years end at +-32767, and the
// cycles are added back, so every 32-bit day number has its date.
constexpr std::int64_t kDaysPerCycle = 146097;
constexpr std::int64_t kYearsPerCycle = 400;

constexpr std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

bool IsGregorian(std::int32_t calendar) {
  return calendar == 0 || calendar == GregorianCalendar;
}

const std::array<const char*, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

short ToErrorNumber(int value) {
  if (value > 0 && value <= SHRT_MAX) return static_cast<short>(value);
  return static_cast<short>(EIO);
}

}  // namespace

std::int32_t EuroDateToJdn(DateParts& parts) {
  parts.dayNumber = 0;
  parts.valid = 0;
  if (!IsGregorian(parts.calendar) || parts.month < 1 || parts.month > 12 || parts.day < 1 ||
      parts.day > 31) {
    return 0;
  }
  const std::int64_t cycles = FloorDiv(parts.year, kYearsPerCycle);
  const auto yearInCycle = static_cast<int>(parts.year - cycles * kYearsPerCycle);
  const std::chrono::year_month_day date{std::chrono::year{yearInCycle},
                                         std::chrono::month{static_cast<unsigned>(parts.month)},
                                         std::chrono::day{static_cast<unsigned>(parts.day)}};
  if (!date.ok()) return 0;
  const std::int64_t dayNumber = std::chrono::sys_days{date}.time_since_epoch().count() +
                                 cycles * kDaysPerCycle + JdnOfUnixEpoch;
  if (dayNumber < std::numeric_limits<std::int32_t>::min() ||
      dayNumber > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  parts.dayNumber = static_cast<std::int32_t>(dayNumber);
  parts.valid = 1;
  return parts.dayNumber;
}

void JdnToEuroDate(DateParts& parts) {
  parts.year = parts.month = parts.day = 0;
  parts.valid = 0;
  if (!IsGregorian(parts.calendar)) return;
  const std::int64_t sinceEpoch = std::int64_t{parts.dayNumber} - JdnOfUnixEpoch;
  const std::int64_t cycles = FloorDiv(sinceEpoch, kDaysPerCycle);
  const std::chrono::year_month_day date{
      std::chrono::sys_days{std::chrono::days{sinceEpoch - cycles * kDaysPerCycle}}};
  parts.year = static_cast<std::int32_t>(int{date.year()} + cycles * kYearsPerCycle);
  parts.month = static_cast<std::int32_t>(unsigned{date.month()});
  parts.day = static_cast<std::int32_t>(unsigned{date.day()});
  parts.valid = 1;
}

std::string SeparateThousands(const std::string& digits, char separator) {
  const std::size_t start = (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) ? 1 : 0;
  if (digits.size() == start) return digits;
  for (std::size_t i = start; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') return digits;
  }
  std::string grouped = digits.substr(0, start);
  const std::size_t count = digits.size() - start;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) grouped += separator;
    grouped += digits[start + i];
  }
  return grouped;
}

std::string MonthName(int month) {
  if (month < 1 || month > 12) return {};
  return kMonthNames[static_cast<std::size_t>(month - 1)];
}

std::int32_t LocalDayNumber(std::int64_t secondsSinceEpoch, short& errorNumber) {
  errorNumber = 0;
  if (secondsSinceEpoch < std::numeric_limits<std::time_t>::min() ||
      secondsSinceEpoch > std::numeric_limits<std::time_t>::max()) {
    errorNumber = ToErrorNumber(EOVERFLOW);
    return -1;
  }
  const auto moment = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm local{};
  errno = 0;
  if (!Platform::LocalTime(moment, local)) {
    errorNumber = ToErrorNumber(errno != 0 ? errno : EOVERFLOW);
    return -1;
  }
  // The whole days since 30 December 1899 of a local date-time are those of its date, as its
  // time of day is less than a day; so the day number is the local date's.
  const std::int64_t year = std::int64_t{local.tm_year} + 1900;
  DateParts parts;
  if (year <= std::numeric_limits<std::int32_t>::max()) {
    parts.year = static_cast<std::int32_t>(year);
    parts.month = local.tm_mon + 1;
    parts.day = local.tm_mday;
    EuroDateToJdn(parts);
  }
  if (parts.valid == 0) {
    errorNumber = ToErrorNumber(EOVERFLOW);
    return -1;
  }
  return parts.dayNumber;
}

std::int32_t FileDayNumber(const std::string& path, short& errorNumber) {
  errorNumber = 0;
  Platform::FileTimes times;
  if (const std::error_code error = Platform::GetFileTimes(path, times)) {
    errorNumber = ToErrorNumber(error.value());
    return -1;
  }
  return LocalDayNumber(times.modification.seconds, errorNumber);
}

std::string JDNToDateText(std::int32_t dayNumber) {
  DateParts parts;
  parts.dayNumber = dayNumber;
  JdnToEuroDate(parts);
  std::string year = std::to_string(parts.year);
  if (parts.year > 9999 || parts.year < -9999) year = SeparateThousands(year, ',');
  return MonthName(parts.month) + " " + std::to_string(parts.day) + ", " + year;
}

}  // namespace DatePr2
