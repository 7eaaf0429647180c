#pragma once

// Dates as day numbers. A date is a Julian Day Number (JDN) in a signed 32-bit integer: day
// 2415019 is 30 December 1899, day 2440588 is 1 January 1970. Years are counted the
// astronomical way (the year before 1 is 0, then -1), in the Gregorian calendar throughout.

#include <cstdint>
#include <string>

namespace DatePr2 {

// The limit of the date restriction that stands for "no restriction": a day far in the future.
inline constexpr std::int32_t NoDateRestriction = 9000000;

// The day number of 1 January 1970.
inline constexpr std::int32_t JdnOfUnixEpoch = 2440588;

// The calendar code of the Gregorian calendar (the letter "G"); 0 means the same.
inline constexpr std::int32_t GregorianCalendar = 71;

// A date in both forms. valid is non-zero when the date exists.
struct DateParts {
  std::int32_t year = 0, month = 0, day = 0, calendar = 0, dayNumber = 0, valid = 0;
};

// The day number of year/month/day. Sets dayNumber and valid and returns the day number. A date
// that does not exist (31 February, month 13, day 0), an unknown calendar or a date beyond the
// day numbers' range gives valid = 0 and day number 0.
std::int32_t EuroDateToJdn(DateParts& parts);

// Fills year, month and day from dayNumber and sets valid. Every 32-bit day number is a date.
// An unknown calendar gives valid = 0 and leaves year, month and day at 0.
void JdnToEuroDate(DateParts& parts);

// Inserts the separator between groups of three digits, counted from the right, after an
// optional sign: "12345" gives "12,345", "-1234567" gives "-1,234,567". A text that is not a
// whole number is given back unchanged.
std::string SeparateThousands(const std::string& digits, char separator);

// "January" to "December"; an empty text outside 1 to 12.
std::string MonthName(int month);

// The day number of a moment (seconds since 1970-01-01 00:00:00 UTC) taken as a local date in
// the process's time zone. errorNumber is 0, or the error's number with the result -1 when the
// moment cannot be given as a local date.
std::int32_t LocalDayNumber(std::int64_t secondsSinceEpoch, short& errorNumber);

// The day number of a file's last-modification local date. A link gives its own time, never its
// target's. When the time cannot be read (no such file, a bad name) the result is -1 and
// errorNumber holds the error's number; otherwise errorNumber is 0.
std::int32_t FileDayNumber(const std::string& path, short& errorNumber);

// "Month d, yyyy", for example "December 31, 2004". A year beyond +-9999 has "," between its
// thousands: "January 1, 12,345".
std::string JDNToDateText(std::int32_t dayNumber);

}  // namespace DatePr2
