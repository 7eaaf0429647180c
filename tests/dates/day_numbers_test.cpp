#include "dates/day_numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

DatePr2::DateParts Date(std::int32_t year, std::int32_t month, std::int32_t day) {
  return DatePr2::DateParts{year, month, day};
}

std::int32_t Jdn(std::int32_t year, std::int32_t month, std::int32_t day) {
  DatePr2::DateParts parts{year, month, day};
  return DatePr2::EuroDateToJdn(parts);
}

}  // namespace

TEST(DayNumbers, ThirtiethOfDecember1899IsDay2415019) {
  DatePr2::DateParts parts = Date(1899, 12, 30);
  EXPECT_EQ(DatePr2::EuroDateToJdn(parts), 2415019);
  EXPECT_EQ(parts.dayNumber, 2415019);
  EXPECT_EQ(parts.valid, 1);
  parts = {};
  parts.dayNumber = 2415019;
  parts.calendar = DatePr2::GregorianCalendar;
  DatePr2::JdnToEuroDate(parts);
  EXPECT_EQ(parts.year * 10000 + parts.month * 100 + parts.day, 18991230);
}

TEST(DayNumbers, DatesThatDoNotExistAreInvalidAndLeapDaysFollowTheGregorianRule) {
  for (const auto& missing : {Date(2005, 2, 29), Date(1900, 2, 29), Date(2004, 4, 31),
                              Date(2004, 13, 1), Date(2004, 1, 0), Date(6000000, 1, 1)}) {
    DatePr2::DateParts parts = missing;
    EXPECT_EQ(DatePr2::EuroDateToJdn(parts), 0) << parts.year << "-" << parts.month;
    EXPECT_EQ(parts.valid, 0) << parts.year << "-" << parts.month << "-" << parts.day;
  }
  EXPECT_EQ(Jdn(2004, 2, 29), 2453065);
  EXPECT_EQ(Jdn(2000, 2, 29), 2451604);
}

TEST(DayNumbers, EveryThirtyTwoBitDayNumberHasADateThatLeadsBackToIt) {
  for (const std::int32_t dayNumber :
       {std::numeric_limits<std::int32_t>::min(), -1, 1721060, DatePr2::NoDateRestriction,
        13700000, std::numeric_limits<std::int32_t>::max()}) {
    DatePr2::DateParts parts;
    parts.dayNumber = dayNumber;
    DatePr2::JdnToEuroDate(parts);
    ASSERT_EQ(parts.valid, 1) << dayNumber;
    EXPECT_EQ(Jdn(parts.year, parts.month, parts.day), dayNumber) << parts.year;
  }
}

TEST(DayNumbers, DateTextsNameTheMonthAndGroupOnlyYearsBeyondNineThousandNineHundredNinetyNine) {
  EXPECT_EQ(DatePr2::JDNToDateText(Jdn(2004, 12, 31)), "December 31, 2004");
  EXPECT_EQ(DatePr2::JDNToDateText(Jdn(9999, 9, 1)), "September 1, 9999");
  EXPECT_EQ(DatePr2::JDNToDateText(Jdn(12345, 7, 4)), "July 4, 12,345");
  EXPECT_EQ(DatePr2::JDNToDateText(Jdn(-500, 3, 15)), "March 15, -500");
  EXPECT_EQ(DatePr2::JDNToDateText(Jdn(-12345, 1, 2)), "January 2, -12,345");
  EXPECT_EQ(DatePr2::JDNToDateText(1721060), "January 1, 0");

  EXPECT_EQ(DatePr2::SeparateThousands("-1234567", '.'), "-1.234.567");
  EXPECT_EQ(DatePr2::SeparateThousands("123", ','), "123");
  EXPECT_EQ(DatePr2::SeparateThousands("12a456", ','), "12a456");
  EXPECT_EQ(DatePr2::MonthName(0), "");
  EXPECT_EQ(DatePr2::MonthName(13), "");
}
