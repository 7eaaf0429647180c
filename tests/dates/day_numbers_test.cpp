#include "dates/day_numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

std::int32_t Jdn(std::int32_t year, std::int32_t month, std::int32_t day) {
  DatePr2::DateParts parts{year, month, day};
  const std::int32_t dayNumber = DatePr2::EuroDateToJdn(parts);
  EXPECT_EQ(parts.dayNumber, dayNumber);
  EXPECT_EQ(parts.valid, dayNumber != 0 ? 1 : 0);
  return dayNumber;
}

}  // namespace

TEST(DayNumbers, DatesThatDoNotExistAreInvalidAndLeapDaysFollowTheGregorianRule) {
  const std::tuple<int, int, int, std::int32_t> cases[] = {
      {1899, 12, 30, 2415019}, {2004, 2, 29, 2453065}, {2005, 2, 29, 0},
      {1900, 2, 29, 0},        {2004, 1, 0, 0},        {6000000, 1, 1, 0}};
  for (const auto& [year, month, day, dayNumber] : cases)
    EXPECT_EQ(Jdn(year, month, day), dayNumber) << year << "-" << month << "-" << day;
}

TEST(DayNumbers, DateTextsNameTheMonthAndGroupOnlyYearsBeyondNineThousandNineHundredNinetyNine) {
  EXPECT_EQ(DatePr2::JDNToDateText(Jdn(9999, 9, 1)), "September 1, 9999");
  EXPECT_EQ(DatePr2::JDNToDateText(Jdn(12345, 7, 4)), "July 4, 12,345");
  EXPECT_EQ(DatePr2::JDNToDateText(Jdn(-12345, 1, 2)), "January 2, -12,345");
  EXPECT_EQ(DatePr2::JDNToDateText(1721060), "January 1, 0");
  EXPECT_EQ(DatePr2::SeparateThousands("12a456", ','), "12a456");
  EXPECT_EQ(DatePr2::MonthName(0) + DatePr2::MonthName(13), "");
}
